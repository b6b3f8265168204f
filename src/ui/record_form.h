#pragma once
// The record form of a register: one record's fields on a tab, OK and Cancel. The caption follows
// the request; OK reads every field in order through its picture (a refused entry beeps and keeps
// the focus), then adds or writes back the record with the register's rules; an unchanged record
// is not written. The field history key copies into the focused entry that field's value in the
// last record the same form saved during the run.
#include "data/file_routines.h"
#include "ui/record_requests.h"
#include "ui/screen.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QTabWidget;

namespace saldora::ui {

struct FormField {
    std::string control; // the field's name, also the entry's object name ("TAB1:CODMOV")
    QString prompt;      // "Conta:"
    std::string picture; // "@s3"
    QString tip;
    // A choice of values shown as radio buttons (value, text); empty for an entry.
    std::vector<std::pair<std::string, QString>> choices;
    QString choicePrompt; // the option box's prompt ("Escolha:")
    bool upperCase = false;

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
};

// The caption a form takes for its request.
QString formCaption(Request request, const QString& designTitle);

class RecordForm : public Screen {
    Q_OBJECT
  public:
    RecordForm(RecordFormSpec spec, Request request, std::optional<store::Record> record);

    Request request() const { return request_; }
    // The record as written (or as it stood, when nothing was written).
    const store::Record& record() const { return buffer_; }
    // A navigation of the frame's toolbar the form answered with (0 for none): the browse moves
    // and calls the form again.
    int answeredNavigation() const { return navigation_; }

    QLineEdit* entry(const std::string& control) const;
    // The last record this form saved during the run, shared by every window.
    static std::optional<store::Record> history(const std::string& procedure);

    bool takesNavigation(int control) const override;
    void navigate(int control) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void show(const store::Record& r);
    bool read(); // the entries into the buffer, in order; false at the first refusal
    void accept(int navigation = 0);
    void fillFromHistory();
    QWidget* firstEntry() const;

    RecordFormSpec spec_;
    Request request_;
    store::Record buffer_, copy_;
    std::vector<QWidget*> editors_; // a QLineEdit or a group box of radio buttons per field
    std::vector<QButtonGroup*> groups_;
    QTabWidget* tabs_ = nullptr;
    int navigation_ = 0;
};

} // namespace saldora::ui
