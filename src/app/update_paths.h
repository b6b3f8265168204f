#pragma once
// UpdatePaths, "Cadastrar caminhos": the form of one remembered data folder, with the folder
// dialog, the relative-path option and the mapping of a network drive.
#include "data/store.h"
#include "ui/record_requests.h"
#include "ui/screen.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace saldora::app {

class UpdatePaths : public ui::Screen {
    Q_OBJECT
  public:
    UpdatePaths(ui::Request request, std::optional<store::Record> record);
    // The position of the record written, 0 when nothing was.
    int64_t writtenPosition() const { return written_; }

  private:
    void chooseFolder();
    void makeRelative();
    void map();
    void unmap();
    void accept();
    void show(const store::Record& r);

    ui::Request request_;
    store::Record buffer_, copy_;
    int64_t written_ = 0;
    QLineEdit *path_, *comments_;
    QCheckBox* relative_;
    QLabel* mapping_;
    QComboBox* drive_;
};

} // namespace saldora::app
