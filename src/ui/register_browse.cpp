#include "ui/register_browse.h"

#include "data/ini.h"
#include "data/key_values.h"
#include "data/picture.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "ui/browse_columns.h"
#include "ui/pictures.h"
#include "ui/record_form.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace saldora::ui {
namespace {

std::string cp1252Of(const QString& s) {
    auto r = cp1252::fromUtf8(s.toStdString());
    return r ? *r : std::string();
}

int readTab(const std::string& key) {
    if (key.empty()) return 0;
    return static_cast<int>(
        ini::readNumber(settings::kvelt::file, settings::preferences::section, key, 0));
}

} // namespace

RegisterBrowse::RegisterBrowse(RegisterBrowseSpec design, Request request)
    : Screen(design.procedure), spec_(std::move(design)), request_(request) {
    setWindowTitle(spec_.title);
    OpenDataFile(*spec_.file);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName("CurrentTab");
    for (const auto& t : spec_.tabs) tabs_->addTab(t.text);
    for (const auto& t : spec_.tabs)
        if (!t.entry.empty()) {
            locator_ = new QLineEdit(this);
            locator_->setObjectName(QString::fromStdString(t.entry));
            locator_->setToolTip(t.entryTip);
            if (auto w = picture::width(t.entryPicture)) locator_->setMaxLength(*w);
            connect(locator_, &QLineEdit::returnPressed, this, &RegisterBrowse::locateEntry);
        }

    list_ = new BrowseList(this);
    list_->setObjectName("Browse:1");
    list_->view()->setProperty("enterMovesNext", true);
    list_->view()->installEventFilter(this);
    list_->view()->setContextMenuPolicy(Qt::DefaultContextMenu);

    // Columns from the list format: the user's layout while the design stands.
    list_->setColumns(restoreBrowseColumns(spec_.listKey, spec_.listFormat, *spec_.table, spec_.listFields));

    auto button = [this](const BrowseButton& b) {
        auto* made = makeButton(this, b.objectName, b.text, b.tip, b.icon);
        made->setFocusPolicy(Qt::ClickFocus); // left out of the Tab order
        return made;
    };
    auto* buttons = new QHBoxLayout;
    if (spec_.selectButton) {
        select_ = button(spec_.select);
        select_->setEnabled(request_ == Request::Select);
        buttons->addWidget(select_);
    }
    insert_ = button(spec_.insert);
    change_ = button(spec_.change);
    delete_ = button(spec_.remove);
    close_ = button(spec_.close);
    help_ = button(spec_.help);
    for (auto* b : {insert_, change_, delete_, close_, help_}) buttons->addWidget(b);

    // The letter tabs locate on a key's first field: a browse in file order has none.
    const bool locates = std::any_of(spec_.tabs.begin(), spec_.tabs.end(), [this](const auto& t) {
        const store::Key* k = spec_.table->key(t.key);
        return k && !k->fields.empty();
    });
    if (locates) {
        letters_ = new QTabBar(this);
        letters_->setObjectName("LocatorSheet");
        for (char c = 'A'; c <= 'Z'; ++c) letters_->addTab(QString(QChar(c)));
        letters_->setExpanding(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    if (locator_) layout->addWidget(locator_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    if (letters_) layout->addWidget(letters_);
    resize(520, 420);

    if (select_) connect(select_, &QPushButton::clicked, this, &RegisterBrowse::select);
    connect(insert_, &QPushButton::clicked, this, &RegisterBrowse::insert);
    connect(change_, &QPushButton::clicked, this, &RegisterBrowse::change);
    connect(delete_, &QPushButton::clicked, this, &RegisterBrowse::remove);
    connect(close_, &QPushButton::clicked, this, [this] {
        finish(request_ == Request::Select ? result::Cancelled : result::Completed);
    });
    connect(help_, &QPushButton::clicked, this, [this] {
        QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
        QApplication::sendEvent(list_->view(), &f12);
    });
    connect(list_, &BrowseList::activated, this, [this] {
        if (request_ == Request::Select) select();
        else change();
    });
    connect(list_, &BrowseList::emptinessChanged, this, [this] { updateButtons(); });
    connect(list_, &BrowseList::currentChanged, this, [this] { emit highlighted(list_->current()); });
    if (letters_)
        connect(letters_, &QTabBar::tabBarClicked, this, [this](int i) { chooseLetter(i); });

    // The tab and letter tab the window was left on.
    const int tab = std::clamp(readTab(spec_.tabKey), 0, static_cast<int>(spec_.tabs.size()) - 1);
    {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(tab);
    }
    if (letters_) letters_->setCurrentIndex(std::clamp(readTab(spec_.letterKey), 0, 25));
    connect(tabs_, &QTabBar::currentChanged, this, [this](int i) { applyTab(i, true); });
    applyTab(tab, false);
    list_->setSource(&spec_.file->db(), spec_.table, key(tab));
    connect(this, &Screen::activated, this, [this] {
        if (!openChildScreen()) list_->refresh();
    });
    QMetaObject::invokeMethod(this, [this] {
        if (!startAt_.empty()) list_->locate(startAt_);
        else list_->toFirst();
        updateButtons();
        list_->setFocus();
    }, Qt::QueuedConnection);
    list_->toFirst();
    updateButtons();
}

RegisterBrowse::~RegisterBrowse() { CloseDataFile(*spec_.file); }

const store::Key* RegisterBrowse::key(int tab) const {
    const std::string& name = spec_.tabs[tab].key;
    return name.empty() ? &store::positionKey() : spec_.table->key(name);
}

int RegisterBrowse::currentTab() const { return tabs_->currentIndex(); }

void RegisterBrowse::setCurrentTab(int tab) { tabs_->setCurrentIndex(tab); }

void RegisterBrowse::applyTab(int tab, bool fill) {
    if (locator_) {
        locator_->setVisible(!spec_.tabs[tab].entry.empty());
        locator_->clear();
    }
    if (fill) {
        list_->setSource(&spec_.file->db(), spec_.table, key(tab));
        list_->toFirst();
        updateButtons();
    }
}

void RegisterBrowse::updateButtons() {
    const bool any = !list_->isEmpty();
    change_->setEnabled(any);
    delete_->setEnabled(any);
    if (locator_) locator_->setEnabled(any);
    if (select_) select_->setEnabled(request_ == Request::Select);
}

void RegisterBrowse::chooseLetter(int letter) {
    if (!letters_) return;
    letters_->setCurrentIndex(letter);
    const std::string l(1, static_cast<char>('A' + letter));
    const auto& tab = spec_.tabs[currentTab()];
    if (!tab.entry.empty() && locator_) locator_->setText(QString::fromStdString(l));
    list_->locate({l});
    updateButtons();
}

void RegisterBrowse::locateEntry() {
    std::string value(fixed::clip(cp1252Of(locator_->text())));
    if (value.empty()) return;
    list_->locate({value});
    list_->setFocus();
}

void RegisterBrowse::typed(QChar c) {
    if (c.isSpace() || c.isNull()) return;
    const auto& tab = spec_.tabs[currentTab()];
    if (!tab.entry.empty() && locator_) {
        // The code tab: the character goes to the locator entry.
        locator_->setEnabled(true);
        locator_->setFocus();
        locator_->setText(c);
        return;
    }
    const std::string letter = cp1252Of(QString(c));
    const auto fields = spec_.table->keyFields(*key(currentTab()));
    if (letter.empty() || fields.empty()) return; // file order: nothing to locate on
    const int field = fields.front();
    auto startsWith = [&](const std::optional<store::Record>& r) {
        if (!r) return false;
        std::string text = r->text(field);
        return !text.empty() &&
               cp1252::foldCase(static_cast<unsigned char>(text[0])) ==
                   cp1252::foldCase(static_cast<unsigned char>(letter[0]));
    };
    if (startsWith(list_->current())) {
        auto before = list_->current();
        list_->down();
        if (startsWith(list_->current()) && list_->current()->position != before->position) return;
    }
    list_->locate({letter});
}

void RegisterBrowse::callForm(Request request, std::optional<store::Record> record) {
    RecordForm* form = spec_.form(request, record);
    auto before = list_->current();
    openChild(form, [this, form, before](int r) { formAnswered(form, r, before); });
}

void RegisterBrowse::formAnswered(RecordForm* form, int result, std::optional<store::Record> before) {
    if (result == result::Completed) list_->locateRecord(form->record());
    else if (before) list_->locateRecord(*before);
    else list_->refresh();
    updateButtons();
    const int move = result == result::Completed ? form->answeredNavigation() : 0;
    if (move == 0) return;
    // A form answering with a toolbar navigation: move, and call the form again.
    if (move == nav::Insert) {
        QMetaObject::invokeMethod(this, [this] { insert(); }, Qt::QueuedConnection);
        return;
    }
    if (!moveList(*list_, move)) return;
    Request again = form->request() == Request::Insert ? Request::Change : form->request();
    QMetaObject::invokeMethod(this, [this, again] {
        if (again == Request::View) view();
        else change();
    }, Qt::QueuedConnection);
}

void RegisterBrowse::insert() {
    if (spec_.mostRecords > 0) {
        auto count = spec_.file->db().count(*spec_.table);
        if (count && *count >= spec_.mostRecords) {
            messages().show(spec_.fullMessage);
            return;
        }
    }
    callForm(Request::Insert, std::nullopt);
}

void RegisterBrowse::change() {
    auto current = list_->current();
    if (!current) return;
    // The highlighted record is read again by its position.
    auto stored = spec_.file->db().get(*spec_.table, current->position);
    if (!stored) {
        list_->refresh();
        return;
    }
    callForm(Request::Change, *stored);
}

void RegisterBrowse::view() {
    auto current = list_->current();
    if (!current) return;
    auto stored = spec_.file->db().get(*spec_.table, current->position);
    if (stored) callForm(Request::View, *stored);
}

void RegisterBrowse::remove() {
    auto current = list_->current();
    if (!current) return;
    if (confirmAndDelete(*spec_.file, *current)) list_->locateRecord(*current);
    updateButtons();
}

void RegisterBrowse::select() {
    if (request_ != Request::Select) return;
    auto current = list_->current();
    if (!current) return;
    selected_ = *current;
    finish(result::Completed);
}

bool RegisterBrowse::takesNavigation(int control) const {
    switch (control) {
    case nav::Select: return request_ == Request::Select && !list_->isEmpty();
    case nav::Change:
    case nav::Delete: return !list_->isEmpty();
    case nav::History: return false;
    default: return true;
    }
}

void RegisterBrowse::navigate(int control) {
    if (moveList(*list_, control)) return;
    switch (control) {
    case nav::Locate:
        if (locator_ && locator_->isVisible()) locator_->setFocus();
        else list_->setFocus();
        break;
    case nav::Select: select(); break;
    case nav::Insert: insert(); break;
    case nav::Change: change(); break;
    case nav::Delete: remove(); break;
    case nav::Help: help_->click(); break;
    default: break;
    }
}

void RegisterBrowse::popupMenu(const QPoint& at) {
    const bool any = !list_->isEmpty();
    popupRecordMenu(this, *list_, at, {[this] { insert(); }, [this] { change(); }, [this] { remove(); }},
                    list_->toolTip().isEmpty() ? windowTitle() : list_->toolTip(),
                    [this, any](QMenu& menu) {
                        menu.addAction("F5  Este", this, &RegisterBrowse::select)
                            ->setEnabled(request_ == Request::Select && any);
                        menu.addSeparator();
                    });
}

bool RegisterBrowse::eventFilter(QObject* watched, QEvent* e) {
    if (spec_.windowKeys && e->type() == QEvent::KeyPress && watched != list_->view() &&
        isEnabled() && !enterAsTab()) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* k = static_cast<QKeyEvent*>(e);
        if (w && isAncestorOf(w) && w != locator_ && !(k->modifiers() & Qt::ControlModifier)) {
            switch (k->key()) {
            case Qt::Key_Insert: insert(); return true;
            case Qt::Key_Delete: remove(); return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: change(); return true;
            default: break;
            }
        }
    }
    if (watched == list_->view() && isEnabled()) {
        if (e->type() == QEvent::ContextMenu) {
            popupMenu(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            const bool ctrl = k->modifiers() & Qt::ControlModifier;
            const bool enterTab = enterAsTab();
            switch (k->key()) {
            case Qt::Key_F2: insert(); return true;
            case Qt::Key_F4: change(); return true;
            case Qt::Key_F6: remove(); return true;
            case Qt::Key_F5: select(); return true;
            case Qt::Key_Insert:
                if (!enterTab) insert();
                return true;
            case Qt::Key_Delete:
                if (!enterTab) remove();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (ctrl) change();
                else if (enterTab) return false; // the screen moves to the next control
                else if (request_ == Request::Select) select();
                else change();
                return true;
            case Qt::Key_Menu: popupMenu(list_->view()->mapToGlobal(QPoint(10, 10))); return true;
            default:
                if (!ctrl && !k->text().isEmpty() && k->text().at(0).isPrint()) {
                    typed(k->text().at(0));
                    return true;
                }
            }
        }
    }
    return Screen::eventFilter(watched, e);
}

void RegisterBrowse::closing() {
    const auto& file = settings::kvelt::file;
    const auto section = settings::preferences::section;
    if (!spec_.tabKey.empty())
        (void)ini::write(file, section, spec_.tabKey, std::to_string(currentTab()));
    if (letters_ && !spec_.letterKey.empty())
        (void)ini::write(file, section, spec_.letterKey, std::to_string(letters_->currentIndex()));
    saveBrowseColumns(spec_.listKey, spec_.listFormat, *list_);
}

} // namespace saldora::ui
