#include "app/update_paths.h"

#include "app/data_path_manager.h"
#include "app/folder_entry.h"
#include "app/paths_file.h"
#include "data/files.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "platform/network_drive.h"
#include "ui/entry_check.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::app {
namespace {
QString shown(const std::string& cp1252Text) {
    return QString::fromStdString(cp1252::toUtf8(cp1252Text));
}
} // namespace

UpdatePaths::UpdatePaths(ui::Request request, std::optional<store::Record> record)
    : ui::Screen(std::string(settings::window::updatePaths)), request_(request),
      buffer_(record ? *record : store::Record(files::Paths::table())), copy_(buffer_) {
    setWindowTitle("Cadastrar caminhos");
    setResizable(false);

    path_ = new QLineEdit(this);
    path_->setObjectName("PAT:PATH");
    path_->setMaxLength(255);
    auto* browse = ui::makeButton(this, "LookupPath", "...", "Seleciona a pasta");
    relative_ = new QCheckBox("Caminho relativo", this);
    relative_->setObjectName("LOC:Relativo");
    mapping_ = new QLabel(this);
    mapping_->setObjectName("LOC:Mapeando");
    auto* mapButton = ui::makeButton(this, "MapDrive", "Mapear em");
    drive_ = new QComboBox(this);
    drive_->setObjectName("LOC:Drive");
    drive_->addItems({"X:", "Y:", "Z:"});
    auto* unmapButton = ui::makeButton(this, "UnmapDrive", "Desmapear");
    comments_ = new QLineEdit(this);
    comments_->setObjectName("PAT:COMMENTS");
    comments_->setMaxLength(128);
    auto* ok = ui::makeButton(this, "OK", "OK", "Grava e Fecha a Tela", "ok.ico");
    auto* cancel = ui::makeButton(this, "Cancel", "&Cancela", "Cancela Esta Operação", "cancela.ico");
    ok->setDefault(true);

    auto* form = new QFormLayout;
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    form->addRow("Caminho:", pathRow);
    form->addRow(QString(), relative_);
    form->addRow("Mapeando:", mapping_);
    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(mapButton);
    mapRow->addWidget(new QLabel("Drive:", this));
    mapRow->addWidget(drive_);
    mapRow->addWidget(unmapButton);
    mapRow->addStretch();
    form->addRow(QString(), mapRow);
    form->addRow("Observações:", comments_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(520, 200);

    connect(browse, &QPushButton::clicked, this, &UpdatePaths::chooseFolder);
    connect(relative_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) makeRelative();
    });
    connect(mapButton, &QPushButton::clicked, this, &UpdatePaths::map);
    connect(unmapButton, &QPushButton::clicked, this, &UpdatePaths::unmap);
    connect(ok, &QPushButton::clicked, this, &UpdatePaths::accept);
    connect(cancel, &QPushButton::clicked, this, [this] { finish(ui::result::Cancelled); });
    show(buffer_);
}

void UpdatePaths::show(const store::Record& r) {
    path_->setText(shown(r.text(0)));
    comments_->setText(shown(r.text(1)));
}

void UpdatePaths::chooseFolder() { chooseFolderInto(path_, relative_); }

void UpdatePaths::makeRelative() { makeEntryRelative(path_); }

void UpdatePaths::map() {
    std::string folder = path_->text().trimmed().toStdString();
    std::string drive = drive_->currentText().toStdString();
    if (platform::mapDrive(folder, drive) != 0) {
        DataPathManager::ask(4);
        return;
    }
    mapping_->setText(QString::fromStdString(drive + " = " + folder));
}

void UpdatePaths::unmap() {
    platform::unmapDrive(path_->text().trimmed().toStdString()); // a failure is not reported
    mapping_->clear();
}

void UpdatePaths::accept() {
    if (relative_->isChecked()) makeRelative();
    const auto& t = files::Paths::table();
    auto path = ui::acceptText(path_, t.fields[0]);
    if (!path) return;
    auto comments = ui::acceptText(comments_, t.fields[1]);
    if (!comments) return;
    (void)buffer_.set(0, *path);
    (void)buffer_.set(1, *comments);
    switch (ui::saveRecord(pathsFile(), request_, buffer_, copy_, nullptr)) {
    case ui::SaveOutcome::Completed:
        written_ = buffer_.position;
        finish(ui::result::Completed);
        break;
    case ui::SaveOutcome::Closed: finish(ui::result::Cancelled); break;
    case ui::SaveOutcome::ShowStored:
        copy_ = buffer_;
        show(buffer_);
        break;
    case ui::SaveOutcome::Stay: path_->setFocus(); break;
    }
}

} // namespace saldora::app
