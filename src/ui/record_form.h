#pragma once
// The record form of a register: one record's fields on one or more tabs, OK and Cancel. The
// selected tab is kept in KVELT.INI and restored at the next opening. The caption follows
// the request; OK reads every field in order through its picture (a refused entry beeps and keeps
// the focus), then adds or writes back the record with the register's rules; an unchanged record
// is not written. The field history key copies into the focused entry that field's value in the
// last record the same form saved during the run (blank before the form has saved one).
#include "data/file_routines.h"
#include "ui/record_requests.h"
#include "ui/screen.h"

#include <QColor>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QTabWidget;

namespace saldora::ui {

class RecordForm;

struct FormField {
    std::string control; // the field's name, also the entry's object name ("TAB1:CODMOV")
    QString prompt;      // "Conta:"
    std::string picture; // "@s3"
    QString tip;
    QString status; // the status bar's text for the control
    int tab = 0;    // index into RecordFormSpec::tabs
    // A choice of values shown as radio buttons (value, text); empty for an entry.
    std::vector<std::pair<std::string, QString>> choices;
    QString choicePrompt; // the option box's prompt ("Escolha:")
    bool upperCase = false;
    bool autoEntry = true; // offers earlier typed values
    // A value the form shows and never reads back (plain text as the picture takes it): the
    // entry is read-only and the record keeps what it holds. The control need not be a field.
    std::optional<std::string> fixedValue;
    // A line of text in place of a control (the control names the label).
    QString note;

    static FormField entry(std::string control, QString prompt, std::string picture, QString tip,
                           bool upperCase = false) {
        FormField f;
        f.control = std::move(control);
        f.prompt = std::move(prompt);
        f.picture = std::move(picture);
        f.tip = std::move(tip);
        f.upperCase = upperCase;
        return f;
    }
    static FormField choice(std::string control, QString prompt, QString tip,
                            std::vector<std::pair<std::string, QString>> choices) {
        FormField f;
        f.control = std::move(control);
        f.choicePrompt = std::move(prompt);
        f.tip = std::move(tip);
        f.choices = std::move(choices);
        return f;
    }
    static FormField fixed(std::string control, QString prompt, std::string picture,
                           std::string value) {
        FormField f = entry(std::move(control), std::move(prompt), std::move(picture), {});
        f.fixedValue = std::move(value);
        f.autoEntry = false;
        return f;
    }
    static FormField line(std::string control, QString text) {
        FormField f;
        f.control = std::move(control);
        f.note = std::move(text);
        return f;
    }
    bool isNote() const { return !note.isEmpty(); }
    FormField& onTab(int index) { tab = index; return *this; }
    FormField& withStatus(QString text) { status = std::move(text); return *this; }
};

struct FormTab {
    std::string objectName; // "Tab:1"
    QString text;           // "&1-Usuário"
    QString heading;        // a heading above the tab's fields, in Times New Roman
};

struct RecordFormSpec {
    std::string procedure; // "CadastraContas"
    QString title;         // "CADASTRO DE CONTAS"
    DataFile* file = nullptr;
    const store::Table* table = nullptr;
    std::vector<FormField> fields;
    // Names the key a duplicate falls on, for warning 24 ("Código", "Descrição").
    std::map<std::string, std::string> keyDescriptions;
    std::string tabKey; // "ktSelectedTab8_CadastraContas_CurrentTab"
    std::vector<FormTab> tabs{{"Tab:1", {}, {}}};
    QColor selectedTabText; // the caption colour of the selected tab; invalid: the style's
    // Runs with the record when OK has saved it (or found nothing to write), before the form
    // closes.
    std::function<void(const store::Record&)> completed;
    // Runs first when OK (or a save-and-move button) is pressed; false stops there. A hook that
    // opens a lookup submits again when the lookup answers.
    std::function<bool(RecordForm& form, int navigation)> beforeAccept;
    // Runs once every field is read, before the write; false keeps the form open.
    std::function<bool(const store::Record&)> validate;
    // The frame toolbar's tip of a save-and-move button for the form's request. When set, the
    // form takes only the buttons it gives a tip, beside the history and help buttons.
    std::function<QString(Request, int control)> navigationTip;
};

// The caption a form takes for its request.
QString formCaption(Request request, const QString& designTitle);

class RecordForm : public Screen {
    Q_OBJECT
  public:
    RecordForm(RecordFormSpec design, Request request, std::optional<store::Record> record);

    Request request() const { return request_; }
    // The record as written (or as it stood, when nothing was written).
    const store::Record& record() const { return buffer_; }
    // A navigation of the frame's toolbar the form answered with (0 for none): the browse moves
    // and calls the form again.
    int answeredNavigation() const { return navigation_; }

    QLineEdit* entry(const std::string& control) const;
    // OK, or a save-and-move button (its control number): reads, checks and writes the record.
    void submit(int navigation = 0) { accept(navigation); }
    QTabWidget* tabs() const { return tabs_; }
    // The last record this form saved during the run, shared by every window.
    static std::optional<store::Record> history(const std::string& procedure);

    bool takesNavigation(int control) const override;
    void navigate(int control) override;
    QString navigationTip(int control) const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closing() override;
    void showEvent(QShowEvent* event) override;

  private:
    void show(const store::Record& r);
    void showField(size_t i, const store::Record& r);
    bool read(); // the entries into the buffer, in order; false at the first refusal
    void accept(int navigation = 0);
    void fillFromHistory();
    // The first field of a tab; the form's first field when that tab has none.
    QWidget* firstEntry(int tab = 0) const;
    void focusField(QWidget* editor);
    void colourTabs();
    bool bound(size_t i) const; // a field the form reads into the record

    RecordFormSpec spec_;
    Request request_;
    store::Record buffer_, copy_;
    // A QLineEdit, a group box of radio buttons or a label per field.
    std::vector<QWidget*> editors_;
    std::vector<QButtonGroup*> groups_;
    QTabWidget* tabs_ = nullptr;
    int navigation_ = 0;
    bool shown_ = false;
};

} // namespace saldora::ui
