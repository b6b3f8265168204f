#include "app/program_setup.h"

#include "app/data_path_manager.h"
#include "app/folder_entry.h"
#include "data/globals.h"
#include "data/settings_keys.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::app {

ProgramSetup::ProgramSetup() : ui::Screen(std::string(settings::window::programSetup)) {
    setWindowTitle("Parâmetros de acesso");
    setResizable(false);
    path_ = new QLineEdit(QString::fromStdString(globals().defaultPath), this);
    path_->setObjectName("GLO:DefaultPath");
    path_->setMaxLength(255);
    auto* browse = ui::makeButton(this, "LookupPath", "...", "Seleciona a pasta");
    relative_ = new QCheckBox("caminho relativo", this);
    relative_->setObjectName("LOC:Relativo");
    setDefault_ = new QCheckBox(
        "Estabelece o caminho padrão ao iniciar o sistema sem mostrar a tela de seleção", this);
    setDefault_->setObjectName("GLO:SetDefaultPath");
    setDefault_->setChecked(globals().setDefaultPath != 0);
    auto* ok = ui::makeButton(this, "OK", "OK", "Grava e Fecha a Tela", "ok.ico");
    auto* cancel = ui::makeButton(this, "Cancel", "Cancela", "Cancela Esta Operação", "cancela.ico");
    ok->setDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(path_, 1);
    row->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow("Caminho padrão:", row);
    form->addRow(QString(), relative_);
    form->addRow(QString(), setDefault_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // The variables follow what is typed; both buttons just close.
    connect(path_, &QLineEdit::textChanged, this,
            [](const QString& t) { globals().defaultPath = t.toStdString(); });
    connect(setDefault_, &QCheckBox::toggled, this,
            [](bool on) { globals().setDefaultPath = on ? 1 : 0; });
    connect(relative_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) makeRelative();
    });
    connect(browse, &QPushButton::clicked, this, &ProgramSetup::chooseFolder);
    connect(ok, &QPushButton::clicked, this, [this] { finish(ui::result::Completed); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(ui::result::Cancelled); });
}

void ProgramSetup::chooseFolder() { chooseFolderInto(path_, relative_); }

void ProgramSetup::makeRelative() { makeEntryRelative(path_); }

} // namespace saldora::app
