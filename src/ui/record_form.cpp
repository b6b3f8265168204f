#include "ui/record_form.h"

#include "data/field_text.h"
#include "data/ini.h"
#include "data/picture.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "ui/auto_entry.h"
#include "ui/entry_check.h"
#include "ui/pictures.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace saldora::ui {
namespace {

std::map<std::string, store::Record>& histories() {
    static std::map<std::string, store::Record> h;
    return h;
}

QString shown(const std::string& cp1252Text) {
    return QString::fromStdString(cp1252::toUtf8(cp1252Text));
}

} // namespace

QString formCaption(Request request, const QString& designTitle) {
    switch (request) {
    case Request::Insert: return "Registo será incluido";
    case Request::Change: return "Registro será alterado";
    case Request::View: return "Visualiza Registro";
    default: return designTitle;
    }
}

std::optional<store::Record> RecordForm::history(const std::string& procedure) {
    auto it = histories().find(procedure);
    if (it == histories().end()) return std::nullopt;
    return it->second;
}

RecordForm::RecordForm(RecordFormSpec spec, Request request, std::optional<store::Record> record)
    : Screen(spec.procedure), spec_(std::move(spec)), request_(request),
      buffer_(record ? *record : store::Record(*spec_.table)), copy_(buffer_) {
    setWindowTitle(formCaption(request_, spec_.title));
    setResizable(false);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("Tab:1");
    auto* page = new QWidget(tabs_);
    auto* form = new QFormLayout(page);
    tabs_->addTab(page, QString());
    for (const FormField& f : spec_.fields) {
        if (f.choices.empty()) {
            auto* e = new QLineEdit(page);
            e->setObjectName(QString::fromStdString(f.control));
            auto width = picture::width(f.picture);
            const int field = spec_.table->fieldIndex(f.control);
            if (width.ok()) e->setMaxLength(*width);
            else if (field >= 0) e->setMaxLength(spec_.table->fields[field].textCapacity());
            e->setToolTip(f.tip);
            if (f.upperCase)
                connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
                    int at = e->cursorPosition();
                    e->setText(t.toUpper());
                    e->setCursorPosition(at);
                });
            e->setReadOnly(request_ == Request::View);
            auto_entry::attach(e, spec_.procedure, f.control); // completions of earlier values
            form->addRow(f.prompt, e);
            editors_.push_back(e);
            groups_.push_back(nullptr);
        } else {
            auto* box = new QGroupBox(f.prompt, page);
            box->setObjectName(QString::fromStdString(f.control));
            box->setToolTip(f.tip);
            auto* group = new QButtonGroup(box);
            auto* boxLayout = new QHBoxLayout(box);
            int n = 0;
            for (const auto& [value, text] : f.choices) {
                auto* radio = new QRadioButton(text, box);
                radio->setObjectName(QString::fromStdString(f.control) + ":Radio" +
                                     QString::number(++n));
                radio->setProperty("value", QString::fromStdString(value));
                radio->setEnabled(request_ != Request::View);
                group->addButton(radio);
                boxLayout->addWidget(radio);
            }
            form->addRow(f.choicePrompt, box);
            editors_.push_back(box);
            groups_.push_back(group);
        }
    }

    auto* ok = makeButton(this, "OK", "OK", "Grava e Fecha a Tela", "ok.ico");
    auto* cancel = makeButton(this, "Cancel", "&Cancela", "Cancela Esta Operação", "cancela.ico");
    auto* help = makeButton(this, "Help", "&Ajuda", "Ajuda desta Tela", "Ajuda.ico");
    cancel->setFocusPolicy(Qt::ClickFocus); // left out of the Tab order
    ok->setDefault(true);
    ok->setEnabled(request_ != Request::View);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(result::Cancelled); });
    connect(help, &QPushButton::clicked, this, [this] {
        QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        QApplication::sendEvent(target, &f12);
    });
    show(buffer_);
    if (QWidget* first = firstEntry()) first->setFocus();
}

QWidget* RecordForm::firstEntry() const { return editors_.empty() ? nullptr : editors_.front(); }

QLineEdit* RecordForm::entry(const std::string& control) const {
    return findChild<QLineEdit*>(QString::fromStdString(control));
}

void RecordForm::show(const store::Record& r) {
    for (size_t i = 0; i < spec_.fields.size(); ++i) {
        const FormField& f = spec_.fields[i];
        int field = spec_.table->fieldIndex(f.control);
        if (field < 0) continue;
        if (auto* e = qobject_cast<QLineEdit*>(editors_[i])) {
            auto text = picture::format(f.picture, store::toPictureValue(spec_.table->fields[field],
                                                                         r[field]));
            std::string value = text ? std::string(fixed::clip(*text)) : r.text(field);
            e->setText(shown(value));
        } else if (groups_[i]) {
            std::string value = r.text(field);
            for (auto* b : groups_[i]->buttons())
                b->setChecked(b->property("value").toString().toStdString() == value);
        }
    }
}

bool RecordForm::read() {
    for (size_t i = 0; i < spec_.fields.size(); ++i) {
        const FormField& f = spec_.fields[i];
        int field = spec_.table->fieldIndex(f.control);
        if (field < 0) continue;
        const store::Field& def = spec_.table->fields[field];
        if (auto* e = qobject_cast<QLineEdit*>(editors_[i])) {
            auto text = acceptText(e, def);
            if (!text) return false;
            auto typed = picture::readPlain(f.picture, *text);
            if (!typed) {
                refuseEntry(e, typed.error().text);
                return false;
            }
            auto value = store::fromPlainText(def, cp1252::toUtf8(*typed));
            if (!value || !buffer_.set(field, *value)) {
                refuseEntry(e, value ? "Valor inválido." : value.error().text);
                return false;
            }
        } else if (groups_[i]) {
            // A choice nobody made keeps the value the record had.
            if (auto* checked = groups_[i]->checkedButton())
                (void)buffer_.set(field, checked->property("value").toString().toStdString());
        }
    }
    return true;
}

void RecordForm::accept(int navigation) {
    if (request_ == Request::View) {
        finish(result::Completed);
        return;
    }
    if (!read()) return;
    auto describe = [this](const std::string& key) {
        auto it = spec_.keyDescriptions.find(key);
        return it == spec_.keyDescriptions.end() ? key : it->second;
    };
    switch (saveRecord(*spec_.file, request_, buffer_, copy_, describe)) {
    case SaveOutcome::Completed:
        histories().insert_or_assign(spec_.procedure, buffer_);
        auto_entry::rememberEntries(this);
        navigation_ = navigation;
        finish(result::Completed);
        break;
    case SaveOutcome::Closed: finish(result::Cancelled); break;
    case SaveOutcome::ShowStored:
        copy_ = buffer_;
        show(buffer_);
        break;
    case SaveOutcome::Stay:
        if (QWidget* first = firstEntry()) first->setFocus();
        break;
    }
}

void RecordForm::fillFromHistory() {
    if (request_ == Request::View) return;
    auto last = history(spec_.procedure);
    if (!last) return;
    QWidget* focus = QApplication::focusWidget();
    for (size_t i = 0; i < editors_.size(); ++i) {
        bool focused = focus == editors_[i] || editors_[i]->isAncestorOf(focus);
        if (!focused) continue;
        int field = spec_.table->fieldIndex(spec_.fields[i].control);
        if (field < 0) return;
        if (auto* e = qobject_cast<QLineEdit*>(editors_[i])) {
            auto text = picture::format(spec_.fields[i].picture,
                                        store::toPictureValue(spec_.table->fields[field], (*last)[field]));
            e->setText(shown(text ? std::string(fixed::clip(*text)) : last->text(field)));
        } else if (groups_[i]) {
            for (auto* b : groups_[i]->buttons())
                b->setChecked(b->property("value").toString().toStdString() == last->text(field));
        }
        return;
    }
}

bool RecordForm::takesNavigation(int control) const {
    if (request_ == Request::View) return control == nav::History ? false : control != nav::Insert;
    switch (control) {
    case nav::History:
    case nav::Help:
    case nav::Top:
    case nav::PageUp:
    case nav::Up:
    case nav::Down:
    case nav::PageDown:
    case nav::Bottom:
    case nav::Insert: return true;
    default: return false;
    }
}

void RecordForm::navigate(int control) {
    if (control == nav::History) {
        fillFromHistory();
        return;
    }
    if (control == nav::Help) {
        QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : this,
                                &f12);
        return;
    }
    // Save and move on: the browse moves (or inserts again) and calls the form for the record.
    accept(control);
}

bool RecordForm::eventFilter(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (e->type() == QEvent::KeyPress && w && isAncestorOf(w) && isEnabled()) {
        auto* k = static_cast<QKeyEvent*>(e);
        // The field history key: Shift pressed while Ctrl is held.
        if (k->key() == Qt::Key_Shift && (k->modifiers() & Qt::ControlModifier)) {
            fillFromHistory();
            return true;
        }
    }
    return Screen::eventFilter(watched, e);
}

} // namespace saldora::ui
