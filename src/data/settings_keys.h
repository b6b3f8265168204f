#pragma once
// Every INI file, section and key the programs use, with the value that stands when a key is
// absent. File names are given as the INI module takes them: "./NAME" in the current folder (the
// program folder from start-up on), a bare name for the per-user configuration folder, and a
// path relative to the current folder. Files of the program folder are given by name only; the
// caller joins them with the program folder.
#include "data/ini.h"

#include <string_view>

namespace saldora::settings {

using ini::Setting;

// ---- KVELT.INI (current folder): data folder, window state, lists and tabs, screen font --------
namespace kvelt {
inline constexpr std::string_view file = "./KVELT.INI";

// The default of GLO:DefaultPath is the current folder, known only at run time.
inline constexpr Setting defaultPath{"Preserved", "GLO:DefaultPath", ""};
inline constexpr Setting setDefaultPath{"Preserved", "GLO:SetDefaultPath", "0"};
inline constexpr Setting previousPath{"SelectPath", "PreviousPath", ""};
} // namespace kvelt

// Window state, in a section named after the window. "Maximize" and "Minimize" hold yes or no;
// position and size are written blank while the window is maximised or minimised, and the size
// only for a window the user can resize.
namespace window_state {
inline constexpr std::string_view maximize = "Maximize";
inline constexpr std::string_view minimize = "Minimize";
inline constexpr std::string_view xPos = "XPos";
inline constexpr std::string_view yPos = "YPos";
inline constexpr std::string_view width = "Width";
inline constexpr std::string_view height = "Height";
inline constexpr std::string_view yes = "Yes";
inline constexpr std::string_view no = "No";
} // namespace window_state

// Window names, which are also the sections of their state.
namespace window {
inline constexpr std::string_view main = "Main";
inline constexpr std::string_view splashLogin = "SplashLogin";
inline constexpr std::string_view acessoRapido = "Acesso_rapido";
inline constexpr std::string_view selectPath = "SelectPath";
inline constexpr std::string_view updatePaths = "UpdatePaths";
inline constexpr std::string_view programSetup = "ProgramSetup";
inline constexpr std::string_view pesquisaContas = "PesquisaContas";
inline constexpr std::string_view cadastraContas = "CadastraContas";
inline constexpr std::string_view pesquisaFiliais = "PesquisaFiliais";
inline constexpr std::string_view cadastraFiliais = "CadastraFiliais";
inline constexpr std::string_view filtraMovimento = "FiltraMovimento";
inline constexpr std::string_view pesquisaMovimento = "PesquisaMovimento";
inline constexpr std::string_view cadastraMovimento = "CadastraMovimento";
inline constexpr std::string_view fechamento = "Fechamento";
inline constexpr std::string_view exclusaoLancamentos = "Exclusao_lancamentos";
inline constexpr std::string_view exclusaoLancamentosG = "Exclusao_lancamentos_G";
inline constexpr std::string_view selecionaSaldora = "SelecionaSaldora";
inline constexpr std::string_view exportaClientes = "ExportaClientes";
inline constexpr std::string_view previewer1 = "Previewer1";
inline constexpr std::string_view pesquisaUsuarios = "Pesquisa_usuarios";
inline constexpr std::string_view cadastraUsuarios = "Cadastra_usuarios";
inline constexpr std::string_view avisaBackup = "Avisa_backup";
inline constexpr std::string_view temas = "Temas";
inline constexpr std::string_view fontes = "Fontes";
inline constexpr std::string_view meuPapelParede = "MeuPapelParede";
inline constexpr std::string_view neatMessage = "NeatMessage";
} // namespace window

// Column layouts of lists and selected tabs, in KVELT.INI under "Preferences". A list's layout
// as the user left it is under its key; the designed layout, written the first time, under the
// key followed by layoutDefaultSuffix (blank when absent). A selected tab reads 0 when absent.
namespace preferences {
inline constexpr std::string_view section = "Preferences";
inline constexpr std::string_view layoutDefaultSuffix = "_Default";
inline constexpr std::string_view selectedTabDefault = "0";

inline constexpr std::string_view selectPathList = "ktBrowseFormat9_SelectPath_Browse:1";
inline constexpr std::string_view updatePathsList = "ktBrowseFormat7_UpdatePaths_LOC:Path";
inline constexpr std::string_view pesquisaContasList = "ktBrowseFormat10_PesquisaContas_Browse:1";
inline constexpr std::string_view pesquisaFiliaisList = "ktBrowseFormat10_PesquisaFiliais_Browse:1";
inline constexpr std::string_view pesquisaMovimentoList =
    "ktBrowseFormat11_PesquisaMovimento_Browse:1";
inline constexpr std::string_view pesquisaUsuariosList =
    "ktBrowseFormat9_Pesquisa_usuarios_Browse:1";
inline constexpr std::string_view acessoRapidoTree = "ktBrowseFormat1_Acesso_rapido_RelTree";
inline constexpr std::string_view exportaClientesAllFields =
    "ktBrowseFormat4_ExportaClientes_AllFieldsList";
inline constexpr std::string_view exportaClientesExportFields =
    "ktBrowseFormat4_ExportaClientes_ExportFieldsList";
inline constexpr std::string_view previewer1List2 = "ktBrowseFormat6_Previewer1_List2";
inline constexpr std::string_view previewer1FoundPage = "ktBrowseFormat6_Previewer1_ITP:FoundPage";

inline constexpr std::string_view pesquisaContasTab = "ktSelectedTab10_PesquisaContas_CurrentTab";
inline constexpr std::string_view pesquisaContasLocator =
    "ktSelectedTab10_PesquisaContas_LocatorSheet";
inline constexpr std::string_view pesquisaFiliaisTab = "ktSelectedTab10_PesquisaFiliais_CurrentTab";
inline constexpr std::string_view pesquisaFiliaisLocator =
    "ktSelectedTab10_PesquisaFiliais_LocatorSheet";
inline constexpr std::string_view pesquisaMovimentoTab =
    "ktSelectedTab11_PesquisaMovimento_CurrentTab";
inline constexpr std::string_view cadastraContasTab = "ktSelectedTab8_CadastraContas_CurrentTab";
inline constexpr std::string_view cadastraFiliaisTab = "ktSelectedTab8_CadastraFiliais_CurrentTab";
inline constexpr std::string_view cadastraMovimentoTab =
    "ktSelectedTab9_CadastraMovimento_CurrentTab";
inline constexpr std::string_view pesquisaUsuariosTab =
    "ktSelectedTab9_Pesquisa_usuarios_CurrentTab";
inline constexpr std::string_view cadastraUsuariosTab =
    "ktSelectedTab9_Cadastra_usuarios_CurrentTab";
} // namespace preferences

// The screen font of all windows, in KVELT.INI in the section with an empty name. An empty name
// and -1 for the numbers leave each window its own font; "Disable" 1 switches the feature off.
namespace screen_font {
inline constexpr std::string_view section = "";
inline constexpr Setting name{section, "FontName", ""};
inline constexpr Setting size{section, "FontSize", "-1"};
inline constexpr Setting color{section, "FontColor", "-1"};
inline constexpr Setting style{section, "FontStyle", "-1"};
inline constexpr Setting charset{section, "FontCharset", "-1"};
inline constexpr Setting disable{section, "Disable", "0"};
} // namespace screen_font

// ---- preferences.ini (current folder): whether the program's own message, stop and halt boxes
// replace the runtime's. Section "0" is the user number, always 0. -----------------------------
namespace hooks {
inline constexpr std::string_view file = "./preferences.ini";
inline constexpr Setting messageHook{"0", "MessageHook", "1"};
inline constexpr Setting stopHook{"0", "StopHook", "1"};
inline constexpr Setting haltHook{"0", "HaltHook", "1"};
} // namespace hooks

// ---- Window styles and menu theme -------------------------------------------------------------
namespace estilos {
inline constexpr std::string_view file = "../ESTILOS/ESTILOS.INI";
inline constexpr Setting theme{"kvelt", "Theme", "*.Sty"};
inline constexpr Setting enabled{"kvelt", "Enabled", "1"}; // 0 switches window styles off
} // namespace estilos

namespace saldora_ini {
inline constexpr std::string_view file = "saldora.INI";
// Blank reads as 0: window styles off when the frame opens; any other number leaves them on.
inline constexpr Setting estilo{"Temas", "Estilo", ""};
} // namespace saldora_ini

namespace menu_theme {
inline constexpr std::string_view file = "./MENUTHEME.INI";
inline constexpr Setting theme{"MenuTheme", "Theme", ""}; // blank means off
inline constexpr std::string_view off = "OFF";
} // namespace menu_theme

namespace wallpaper {
inline constexpr std::string_view file = "WALLPAPER.INI";
inline constexpr Setting picture{"WallPaper", "Kvelt", ""};
} // namespace wallpaper

// ---- Files written for other programs, in the program folder ----------------------------------
namespace duplix {
inline constexpr std::string_view fileName = "DUPLIX.INI";
inline constexpr Setting zipName{"Arquivo Zip", "ZipName", ""};
inline constexpr std::string_view zipNameValue = "KVELT.ZIP";
inline constexpr Setting systemName{"Sistema", "NomeSistema", ""};
inline constexpr std::string_view systemNameValue = "SALDORA";
} // namespace duplix

namespace setup {
inline constexpr std::string_view fileName = "SETUP_";
inline constexpr Setting version{"Sistema", "Versao", ""}; // written with the program's version
} // namespace setup

// ---- The versions file fetched from the vendor (current folder) -------------------------------
namespace versoes {
inline constexpr std::string_view file = "./VERSOES.INI";
inline constexpr Setting version{"06", "ver", ""};
} // namespace versoes

// ---- Texts of the report preview and progress windows; "|" starts a new line ------------------
namespace report_texts {
inline constexpr std::string_view file = "CPCSRPTS.INI";
inline constexpr std::string_view section = "DISPLAY STRINGS 2.0";
inline constexpr Setting progWinTitlePrvw{section, "ProgWinTitlePrvw", "Gerando Relatório"};
inline constexpr Setting progWinTitlePrnt{section, "ProgWinTitlePrnt", "Imprimindo Relatório"};
inline constexpr Setting progWinPctText{section, "ProgWinPctText", "% Completados"};
inline constexpr Setting progWinRecText{section, "ProgWinRecText", "Registros Lidos"};
// The next three defaults are the ones every report of the program gives.
inline constexpr Setting progWinUsrText{section, "ProgWinUsrText", ""};
inline constexpr Setting printerDlgTitle{section, "PrinterDlgTitle", "Destino do Relatório"};
inline constexpr Setting askPrvwDialogTitle{section, "AskPrvwDialogTitle", "Previsão"};
inline constexpr Setting askPrvwDialogText{section, "AskPrvwDialogText",
                                           "Deseja PREVISÃO deste relatório ?"};
inline constexpr Setting cancelAreYouSureTitle{section, "CancelAreYouSureTitle", "Questão"};
inline constexpr Setting cancelAreYouSureText{section, "CancelAreYouSureText",
                                              "Tem Certeza que deseja CANCELAR este Relatório ?"};
inline constexpr Setting cancelPrvwPartialTitle{section, "CancelPrvwPartialTitle", "Questão"};
inline constexpr Setting cancelPrvwPartialText{
    section, "CancelPrvwPartialText",
    "Cancelamento do Relatório Solicitado !||Deseja a Previsão do Relatório até aqui ?"};
inline constexpr Setting noDfltPrtrTitle{section, "NoDfltPrtrTitle", "ALERTA!"};
inline constexpr Setting noDfltPrtrText{
    section, "NoDfltPrtrText",
    "Alerta:  Nenhum driver PADRÃO de impressora localizado !||A Impressão pode não ocorrer "
    "corretamente (ou nada a imprimir)|sem uma impressora padrão definida.||Use o PAINEL DE "
    "CONTROLE (IMPRESSORAS) para definir uma|impressora como Padrão.||Continua com o relaório "
    "mesmo assim ?"};
inline constexpr Setting nothingToPrvwTitle{section, "NothingToPrvwTitle", "NOTA..."};
inline constexpr Setting nothingToPrvwText{section, "NothingToPrvwText", "Sem Previsão."};
inline constexpr Setting nothingToPrntTitle{section, "NothingToPrntTitle", "NOTA..."};
inline constexpr Setting nothingToPrntText{section, "NothingToPrntText", "Nada a Imprimir."};
inline constexpr Setting asciiOutTitle{section, "AsciiOutTitle", "Salva em qual arquivo ?"};
inline constexpr Setting asciiOutMasks{section, "AsciiOutMasks", "Texto|*.TXT|Todos|*.*"};
inline constexpr Setting dynLblErrTitle{section, "DynLblErrTitle", "Problema !"};
inline constexpr Setting dynLblErrText1{section, "DynLblErrText1", "Desculpe !||"};
inline constexpr Setting dynLblErrText2{section, "DynLblErrText2", "||Não suporta tipo de papel:"};
inline constexpr Setting buttonYesNoCancel{section, "ButtonYesNoCancel", "&Sim|&Não|&Cancela"};
inline constexpr Setting buttonYesNo{section, "ButtonYesNo", "&Sim|&Não"};
inline constexpr Setting buttonYes{section, "ButtonYes", "&Sim"};
inline constexpr Setting buttonYesNoIgnore{section, "ButtonYesNoIgnore", "&Sim|&Não|&Ignora"};
inline constexpr Setting buttonOk{section, "ButtonOk", "&Ok"};
} // namespace report_texts

} // namespace saldora::settings
