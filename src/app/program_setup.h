#pragma once
// ProgramSetup, "Parâmetros de acesso": the data folder to open at start without asking. It edits
// GLO:DefaultPath and GLO:SetDefaultPath directly; they reach KVELT.INI when the frame closes.
#include "ui/screen.h"

class QCheckBox;
class QLineEdit;

namespace saldora::app {

class ProgramSetup : public ui::Screen {
    Q_OBJECT
  public:
    ProgramSetup();

  private:
    void chooseFolder();
    void makeRelative();

    QLineEdit* path_;
    QCheckBox *relative_, *setDefault_;
};

} // namespace saldora::app
