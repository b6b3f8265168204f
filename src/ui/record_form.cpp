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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

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

RecordForm::RecordForm(RecordFormSpec design, Request request, std::optional<store::Record> record)
    : Screen(design.procedure), spec_(std::move(design)), request_(request),
      buffer_(record ? *record : store::Record(*spec_.table)), copy_(buffer_) {
    setWindowTitle(formCaption(request_, spec_.title));
    setResizable(false);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("CurrentTab");
    std::vector<QFormLayout*> forms;
    for (const FormTab& t : spec_.tabs) {
        auto* page = new QWidget(tabs_);
        page->setObjectName(QString::fromStdString(t.objectName));
        auto* form = new QFormLayout(page);
        if (!t.heading.isEmpty()) {
            auto* heading = new QLabel(t.heading, page);
            heading->setFont(QFont("Times New Roman", 12, QFont::Bold));
            form->addRow(heading);
        }
        tabs_->addTab(page, t.text);
        forms.push_back(form);
    }
    for (const FormField& f : spec_.fields) {
        const int tab = std::clamp(f.tab, 0, static_cast<int>(forms.size()) - 1);
        QWidget* page = tabs_->widget(tab);
        QFormLayout* form = forms[tab];
        if (f.isNote()) {
            auto* label = new QLabel(f.note, page);
            label->setObjectName(QString::fromStdString(f.control));
            form->addRow(label);
            editors_.push_back(label);
            groups_.push_back(nullptr);
        } else if (f.choices.empty()) {
            auto* e = new QLineEdit(page);
            e->setObjectName(QString::fromStdString(f.control));
            auto width = picture::width(f.picture);
            const int field = spec_.table->fieldIndex(f.control);
            if (width.ok()) e->setMaxLength(*width);
            else if (field >= 0) e->setMaxLength(spec_.table->fields[field].textCapacity());
            // Wide enough for what the picture shows (up to fifty characters).
            const int chars = std::min(e->maxLength(), 50);
            e->setMinimumWidth(e->fontMetrics().averageCharWidth() * chars + 12);
            e->setToolTip(f.tip);
            e->setStatusTip(f.status);
            if (f.upperCase)
                connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
                    int at = e->cursorPosition();
                    e->setText(t.toUpper());
                    e->setCursorPosition(at);
                    e->setModified(true); // still typed by the user
                });
            e->setReadOnly(request_ == Request::View || f.fixedValue);
            if (f.autoEntry) auto_entry::attach(e, spec_.procedure, f.control);
            form->addRow(f.prompt, e);
            editors_.push_back(e);
            groups_.push_back(nullptr);
        } else {
            auto* box = new QGroupBox(f.prompt, page);
            box->setObjectName(QString::fromStdString(f.control));
            box->setToolTip(f.tip);
            box->setStatusTip(f.status);
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

    // The tab the form was left on, with the focus on its first field.
    int tab = 0;
    if (!spec_.tabKey.empty())
        tab = static_cast<int>(ini::readNumber(settings::kvelt::file,
                                               settings::preferences::section, spec_.tabKey, 0));
    tabs_->setCurrentIndex(std::clamp(tab, 0, tabs_->count() - 1));
    colourTabs();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { colourTabs(); });
    if (QWidget* first = firstEntry(tabs_->currentIndex())) first->setFocus();
}

void RecordForm::showEvent(QShowEvent* e) {
    Screen::showEvent(e);
    // The window takes the focus as it is activated: the first field of the tab gets it then.
    if (shown_) return;
    shown_ = true;
    QMetaObject::invokeMethod(this, [this] {
        if (QWidget* first = firstEntry(tabs_->currentIndex()); first && !isFinished()) focusField(first);
    }, Qt::QueuedConnection);
}

void RecordForm::colourTabs() {
    if (!spec_.selectedTabText.isValid()) return;
    for (int i = 0; i < tabs_->count(); ++i)
        tabs_->tabBar()->setTabTextColor(i, i == tabs_->currentIndex() ? spec_.selectedTabText
                                                                       : QColor());
}

void RecordForm::closing() {
    if (!spec_.tabKey.empty())
        (void)ini::write(settings::kvelt::file, settings::preferences::section, spec_.tabKey,
                         std::to_string(tabs_->currentIndex()));
}

bool RecordForm::bound(size_t i) const {
    const FormField& f = spec_.fields[i];
    return !f.isNote() && !f.fixedValue && spec_.table->fieldIndex(f.control) >= 0;
}

QWidget* RecordForm::firstEntry(int tab) const {
    QWidget* first = nullptr;
    for (size_t i = 0; i < spec_.fields.size(); ++i) {
        if (spec_.fields[i].isNote()) continue;
        if (spec_.fields[i].tab == tab) return editors_[i];
        if (!first) first = editors_[i];
    }
    return first;
}

void RecordForm::focusField(QWidget* editor) {
    if (!editor) return;
    for (int i = 0; i < tabs_->count(); ++i)
        if (tabs_->widget(i)->isAncestorOf(editor)) tabs_->setCurrentIndex(i);
    editor->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(editor)) e->selectAll();
}

QLineEdit* RecordForm::entry(const std::string& control) const {
    return findChild<QLineEdit*>(QString::fromStdString(control));
}

void RecordForm::show(const store::Record& r) {
    for (size_t i = 0; i < spec_.fields.size(); ++i) showField(i, r);
}

void RecordForm::showField(size_t i, const store::Record& r) {
    const FormField& f = spec_.fields[i];
    if (f.isNote()) return;
    if (f.fixedValue) {
        std::string text;
        if (auto plain = cp1252::fromUtf8(*f.fixedValue))
            if (auto formatted = picture::formatPlain(f.picture, *plain))
                text = fixed::clip(*formatted);
        auto* e = static_cast<QLineEdit*>(editors_[i]);
        e->setText(shown(text));
        e->setCursorPosition(0);
        return;
    }
    const int field = spec_.table->fieldIndex(f.control);
    if (field < 0) return;
    const store::Field& def = spec_.table->fields[field];
    if (auto* e = qobject_cast<QLineEdit*>(editors_[i])) {
        auto text = picture::format(f.picture, store::toPictureValue(def, r[field]));
        e->setText(shown(text ? std::string(fixed::clip(*text)) : r.text(field)));
        e->setCursorPosition(0);
    } else if (groups_[i]) {
        const std::string value = store::plainText(def, r[field]);
        for (auto* b : groups_[i]->buttons())
            b->setChecked(b->property("value").toString().toStdString() == value);
    }
}

bool RecordForm::read() {
    for (size_t i = 0; i < spec_.fields.size(); ++i) {
        if (!bound(i)) continue;
        const FormField& f = spec_.fields[i];
        const int field = spec_.table->fieldIndex(f.control);
        const store::Field& def = spec_.table->fields[field];
        if (auto* e = qobject_cast<QLineEdit*>(editors_[i])) {
            auto refuse = [&](const std::string& reason) {
                refuseEntry(e, reason);
                focusField(e); // on its own tab
                return false;
            };
            // Read through the picture first: a pattern shows more characters than it stores.
            auto bytes = cp1252::fromUtf8(e->text().toStdString());
            if (!bytes) return refuse(bytes.error().text);
            auto typed = picture::readPlain(f.picture, fixed::clip(*bytes));
            if (!typed) return refuse(typed.error().text);
            // fromPlainText refuses what is too long for the field.
            auto value = store::fromPlainText(def, cp1252::toUtf8(*typed));
            if (!value) return refuse(value.error().text);
            if (!buffer_.set(field, *value)) return refuse("Valor inválido.");
        } else if (groups_[i]) {
            // A choice nobody made keeps the value the record had.
            if (auto* checked = groups_[i]->checkedButton())
                if (auto value = store::fromPlainText(
                        def, checked->property("value").toString().toStdString()))
                    (void)buffer_.set(field, *value);
        }
    }
    return true;
}

void RecordForm::accept(int navigation) {
    if (request_ == Request::View) {
        finish(result::Completed);
        return;
    }
    if (spec_.beforeAccept && !spec_.beforeAccept(*this, navigation)) return;
    if (!read()) return;
    if (spec_.validate && !spec_.validate(buffer_)) return;
    auto describe = [this](const std::string& key) {
        auto it = spec_.keyDescriptions.find(key);
        return it == spec_.keyDescriptions.end() ? key : it->second;
    };
    switch (saveRecord(*spec_.file, request_, buffer_, copy_, describe)) {
    case SaveOutcome::Completed:
        histories().insert_or_assign(spec_.procedure, buffer_);
        auto_entry::rememberEntries(this);
        if (spec_.completed) spec_.completed(buffer_);
        navigation_ = navigation;
        finish(result::Completed);
        break;
    case SaveOutcome::Closed: finish(result::Cancelled); break;
    case SaveOutcome::ShowStored:
        copy_ = buffer_;
        show(buffer_);
        break;
    case SaveOutcome::Stay: focusField(firstEntry()); break;
    }
}

void RecordForm::fillFromHistory() {
    if (request_ == Request::View) return;
    // Before this form has saved anything in the run, the history is a blank record.
    const store::Record last = history(spec_.procedure).value_or(store::Record(*spec_.table));
    QWidget* focus = QApplication::focusWidget();
    for (size_t i = 0; i < editors_.size(); ++i) {
        if (focus != editors_[i] && !editors_[i]->isAncestorOf(focus)) continue;
        if (bound(i)) showField(i, last);
        return;
    }
}

QString RecordForm::navigationTip(int control) const {
    return spec_.navigationTip ? spec_.navigationTip(request_, control) : QString();
}

bool RecordForm::takesNavigation(int control) const {
    if (spec_.navigationTip && control != nav::History && control != nav::Help)
        return !spec_.navigationTip(request_, control).isEmpty();
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
