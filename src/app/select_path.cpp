#include "app/select_path.h"

#include "app/data_path_manager.h"
#include "app/paths_file.h"
#include "app/update_paths.h"
#include "data/file_names.h"
#include "data/files.h"
#include "data/ini.h"
#include "data/settings_keys.h"
#include "data/text.h"
#include "ui/browse_list.h"
#include "ui/list_format.h"
#include "ui/pictures.h"
#include "ui/record_requests.h"

#include <QHBoxLayout>

#include <filesystem>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace saldora::app {
namespace {

constexpr const char* kDesignFormat = "200L(4)|M~Caminho~@s255@120L(4)|M~Observações~@s128@";

std::vector<ui::BrowseColumn> columnsOf(const std::string& format) {
    std::vector<ui::BrowseColumn> columns;
    auto parsed = ui::parseListFormat(format);
    if (!parsed) parsed = ui::parseListFormat(kDesignFormat);
    for (size_t i = 0; i < parsed->size(); ++i) {
        const auto& c = (*parsed)[i];
        columns.push_back({QString::fromStdString(c.header), static_cast<int>(i), c.picture, c.width,
                           Qt::AlignLeft, c.indent, {}, {}, {}});
    }
    return columns;
}

} // namespace

SelectPath::SelectPath(bool selecting) : ui::Screen(std::string(settings::window::selectPath)) {
    setWindowTitle("Selecionar o caminho da base de dados");
    setWindowIcon(ui::programIcon("kvelt.ico"));
    dataPathManager().chosen = false;

    list_ = new ui::BrowseList(this);
    list_->setObjectName("Browse:1");
    list_->setColumns(
        columnsOf(ui::peekListFormat(settings::preferences::selectPathList, kDesignFormat)));
    openPaths(false);

    select_ = ui::makeButton(this, "Select", "&Seleciona");
    insert_ = ui::makeButton(this, "Insert", "&Inclui");
    change_ = ui::makeButton(this, "Change", "&Altera");
    delete_ = ui::makeButton(this, "Delete", "&Exclui");
    close_ = ui::makeButton(this, "Close", "Saí&da");
    select_->setEnabled(selecting);
    select_->setDefault(selecting);

    auto* hint1 = new QLabel("Clique no botão \"Seleciona\" para selecionar o caminho da base de "
                             "dados a ser utilizada", this);
    auto* hint2 = new QLabel("Leia em nossa página de suporte como utilizar esta opção, "
                             "principalmente numa instalação em rede.", this);
    auto* hint3 = new QLabel(
        "Irá notar que através da filosofia cliente/servidor que nossos sistemas adotam, você "
        "poderá manusear suas bases de dados com extrema facilidade, podendo ter bases de dados "
        "espalhadas por diversos computadores, e até em pen drives ou HDs externos. Tudo isso sem "
        "mexer no sistema !",
        this);
    for (auto* l : {hint1, hint2, hint3}) l->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    for (auto* b : {select_, insert_, change_, delete_, close_}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    layout->addWidget(hint1);
    layout->addWidget(hint2);
    layout->addWidget(hint3);
    resize(560, 400);

    connect(select_, &QPushButton::clicked, this, &SelectPath::select);
    connect(insert_, &QPushButton::clicked, this, &SelectPath::insert);
    connect(change_, &QPushButton::clicked, this, &SelectPath::change);
    connect(delete_, &QPushButton::clicked, this, &SelectPath::remove);
    connect(close_, &QPushButton::clicked, this, [this] { finish(ui::result::Cancelled); });
    connect(list_, &ui::BrowseList::activated, this, [this, selecting] {
        if (selecting) select();
        else change();
    });
    connect(list_, &ui::BrowseList::emptinessChanged, this, [this] { updateButtons(); });

    // Back on the path highlighted last time.
    std::string previous = ini::read(settings::kvelt::file, settings::kvelt::previousPath);
    auto previousBytes = cp1252::fromUtf8(previous);
    if (!previous.empty() && previousBytes) list_->locate({*previousBytes});
    else list_->toFirst();
    updateButtons();
}

SelectPath::~SelectPath() {
    if (pathsOpen_) CloseDataFile(pathsFile());
}

bool SelectPath::openPaths(bool create) {
    if (pathsOpen_) return true;
    std::string path = file_names::resolve(pathsFile().path());
    if (!create && !std::filesystem::exists(path)) return false;
    OpenDataFile(pathsFile());
    pathsOpen_ = true;
    const auto& table = files::Paths::table();
    list_->setSource(&pathsFile().db(), &table, table.key("PAT:KEYSORT"));
    return true;
}

void SelectPath::updateButtons() {
    bool any = !list_->isEmpty();
    change_->setEnabled(any);
    delete_->setEnabled(any);
}

void SelectPath::select() {
    auto current = list_->current();
    if (!current) return;
    std::string folder = cp1252::toUtf8(current->text(0));
    auto& manager = dataPathManager();
    if (DataPathManager::ensureFolder(folder)) {
        manager.setDataFolder(folder);
        manager.chosen = true;
    }
    finish(manager.chosen ? ui::result::Completed : ui::result::Cancelled);
}

void SelectPath::insert() {
    openPaths(true);
    edited_ = true;
    auto* form = new UpdatePaths(ui::Request::Insert, std::nullopt);
    openChild(form, [this, form](int r) { formDone(r, form->writtenPosition()); });
}

void SelectPath::change() {
    auto current = list_->current();
    if (!current) return;
    edited_ = true;
    auto* form = new UpdatePaths(ui::Request::Change, *current);
    openChild(form, [this, form](int r) { formDone(r, form->writtenPosition()); });
}

void SelectPath::remove() {
    auto current = list_->current();
    if (!current) return;
    edited_ = true;
    if (ui::confirmAndDelete(pathsFile(), *current)) list_->locateRecord(*current);
    updateButtons();
}

void SelectPath::formDone(int result, int64_t position) {
    if (result == ui::result::Completed && position > 0) {
        auto written = pathsFile().db().get(files::Paths::table(), position);
        if (written) {
            list_->locateRecord(*written);
            updateButtons();
            return;
        }
    }
    list_->refresh();
    updateButtons();
}

void SelectPath::closing() {
    // Leaving without a folder and without touching the list writes nothing.
    if (result() != ui::result::Completed && !edited_) {
        setSavesState(false);
        return;
    }
    auto current = list_->current();
    (void)ini::write(settings::kvelt::file, settings::kvelt::previousPath,
                     current ? cp1252::toUtf8(current->text(0)) : std::string());
    std::vector<ui::ListColumnFormat> columns = *ui::parseListFormat(kDesignFormat);
    auto widths = list_->columnWidthsInUnits();
    for (size_t i = 0; i < columns.size() && i < widths.size(); ++i) columns[i].width = widths[i];
    ui::saveListFormat(settings::preferences::selectPathList, ui::writeListFormat(columns),
                       kDesignFormat);
}

} // namespace saldora::app
