#include "data/file_routines.h"
#include "data/files.h"
#include "support/scripted_messages.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <fstream>

using namespace saldora;
using files::Cadmov1;
using store::Record;
using saldora::testing::ScriptedMessages;
using saldora::testing::TempFolder;

namespace {

const Error kKept{store::errc::Locked, "Arquivo bloqueado por outra estação"};

std::string haltOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ProgramHalted& h) {
        return h.message;
    }
    return "(não terminou)";
}

} // namespace

TEST(FileWarning, TextsTitlesButtonsAndDefaults) {
    using namespace button;
    struct Case {
        int kind;
        std::string name, op;
        bool kept;
        std::string title, text;
        int buttons, dflt;
    };
    const Case cases[] = {
        {1, "CADMOV1", "", true, "Arquivo Inválido",
         "Erro: (Arquivo bloqueado por outra estação (32)) acessando CADMOV1.  Press OK p/ terminar "
         "esta aplicação.", Ok, 0},
        {2, "CADMOV1", "", false, "Chave Inválida",
         "CADMOV1 chave do arquivo é inválida.  Você deseja reconstruir a chave?", Yes | No, Yes},
        {5, "CADFIL1", "", true, "Erro de Criação de Arquivo",
         "Erro: (Arquivo bloqueado por outra estação (32)) abrindo arquivo criado:CADFIL1.  Press "
         "OK p/ terminar esta aplicação.", Ok, 0},
        {14, "", "", true, "Erro de Inclusão de Registro",
         "Um erro aconteceu durante a atualização do registro.  Erro: Arquivo bloqueado por outra "
         "estação (32).", Ok, 0},
        {15, "CADMOV1", "Update", true, "Erro de Operação de Atualização",
         "Um erro (Arquivo bloqueado por outra estação (32)) aconteceu quando tentava atualizar um "
         "registro do arquivo.  Causa provável: CADMOV1.", Ok, 0},
        {15, "CADMOV1", "Update", false, "Erro de Operação de Atualização",
         "Este registro foi alterado por outra estação.", Ok, 0},
        {16, "", "", false, "Erro de Atualização de Registro",
         "Um erro aconteceu alterando este registro.  Você deseja tentar gravar outra vez?",
         Yes | No | Cancel, Yes},
        {18, "", "", false, "Erro de Atualização de Registro",
         "Um erro aconteceu excluindo este registro.  Você deseja tentar gravar outra vez?",
         Yes | No | Cancel, Cancel},
        {24, "Código", "", false, "Erro de Chave Duplicada",
         "A inclusão deste registro cria uma entrada duplicada para a chave:Código", Ok, 0},
        {30, "TABMOV1", "", true, "Erro de Acesso de Arquivo",
         "Arquivo (TABMOV1) não pode ser aberto.  Erro: Arquivo bloqueado por outra estação (32).",
         Ok, 0},
        {31, "CADFIL1", "Put", true, "Erro no Processo de 'PUT'",
         "Um erro aconteceu quando alterava um registro no arquivo CADFIL1.  Erro: Arquivo "
         "bloqueado por outra estação (32)", Ok, 0},
        {31, "CADFIL1", "Delete", true, "Erro no Processo de 'DELETE'",
         "Um erro aconteceu quando excluia um registro do arquivo CADFIL1.  Erro: Arquivo "
         "bloqueado por outra estação (32)", Ok, 0},
        {32, "", "", false, "Confirmação de Exclusão",
         "Você selecionou excluir o registro iluminado.  Press OK p/ confirmar a exclusão deste "
         "registro.", Ok | Cancel, Cancel},
        {33, "", "", false, "Alteração Cancelada",
         "Você deseja gravar as alteraçãoes deste registro?", Yes | No | Cancel, No},
        {34, "CADMOV1", "Update", true, "Erro de Composição de Transação",
         "Erro: (Arquivo bloqueado por outra estação (32)) tentando compor update transação em "
         "CADMOV1.  Update transação cancelada.", Ok, 0},
        {35, "CADMOV1", "", true, "Erro de Acesso ao Registro",
         "Erro: (Arquivo bloqueado por outra estação (32)) tentando acessar um registro do arquivo "
         "CADMOV1.  Retornando para janela anterior.", Ok, 0},
        {36, "", "", true, "Erro de Abertura de 'View'",
         "Erro: (Arquivo bloqueado por outra estação (32)) tentando abrir a 'VIEW' corrente . "
         "Filtro e Limites ignorados.", Ok, 0},
        {38, "", "", false, "Registro Não Foi Atualizado",
         "Este registro foi alterado por outra estação. Essas mudanças serão agora mostradas. Use o "
         "botão 'Ditto' ou 'Ctrl+' p/ recuperar suas alterações.", Ok, 0},
    };
    for (const auto& c : cases) {
        Message m = warningMessage(c.kind, c.name, c.op, c.kept ? &kKept : nullptr);
        EXPECT_EQ(m.caption, c.title) << c.kind;
        EXPECT_EQ(m.text, c.text) << c.kind;
        EXPECT_EQ(m.buttons, std::to_string(c.buttons)) << c.kind;
        EXPECT_EQ(m.defaultButton, c.dflt) << c.kind;
    }
    // The engine's own number stands in the parentheses when the engine reported the failure.
    Error engine{store::errc::EngineError, "disk I/O error", 266};
    EXPECT_EQ(warningMessage(17, "CADMOV1", "", &engine).text,
              "Um erro (disk I/O error (266)) aconteceu quando tentava excluir um registro do "
              "arquivo CADMOV1.");
}

TEST(FileWarning, KindsThatEndTheProgramGoThroughTheHalt) {
    ScriptedMessages box;
    EXPECT_EQ(haltOf([] { FileWarning(1, "CADMOV1", {}, &kKept); }), "Arquivo Inválido!");
    EXPECT_EQ(haltOf([] { FileWarning(3, "CADMOV1", {}, &kKept); }), "Erro reconstruindo chave!");
    EXPECT_EQ(haltOf([] { FileWarning(4, "CADMOV1", {}, &kKept); }), "Erro de criação de Arquivo!");
    EXPECT_EQ(haltOf([] { FileWarning(5, "CADMOV1", {}, &kKept); }), "Erro de Criação de Arquivo!");
    box.answer(button::No);
    EXPECT_EQ(haltOf([] { FileWarning(2, "CADMOV1"); }), "Chave Inválida!");
    box.answer(button::Yes);
    EXPECT_EQ(FileWarning(2, "CADMOV1"), button::Yes);
    EXPECT_EQ(box.shown.back().icon, Icon::Question);
}

TEST(OpenDataFile, CreatesMissingFilesEncryptedWithoutAMessage) {
    ScriptedMessages box;
    TempFolder dir;
    for (const auto* layout : {&files::layouts::cadfil1(), &files::layouts::tabmov1(),
                               &files::layouts::cadmov1(), &files::layouts::usuario()}) {
        DataFile f(*layout);
        f.setLocation(dir.path());
        OpenDataFile(f);
        ASSERT_TRUE(f.isOpen());
        CloseDataFile(f);
        EXPECT_FALSE(f.isOpen());
        std::ifstream in(f.path(), std::ios::binary);
        std::string head(16, '\0');
        in.read(head.data(), 16);
        EXPECT_NE(head.substr(0, 13), "SQLite format") << f.path();
    }
    EXPECT_TRUE(box.shown.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.file("CADMOV1.sld")));

    // A name spelt in another case is the same file.
    DataFile lower(files::layouts::cadmov1());
    lower.setLocation(dir.path(), "cadmov1");
    OpenDataFile(lower);
    EXPECT_EQ(std::filesystem::path(lower.db().path()).filename(), "CADMOV1.sld");
    CloseDataFile(lower);
}

TEST(OpenDataFile, ForeignFileEndsWithTheAccessWarning) {
    ScriptedMessages box;
    TempFolder dir;
    std::ofstream(dir.file("CADMOV1.sld")) << std::string(8192, 'z');
    DataFile f(files::layouts::cadmov1());
    f.setLocation(dir.path());
    EXPECT_EQ(haltOf([&] { OpenDataFile(f); }), "Disk Error");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Erro de Acesso de Arquivo");
    EXPECT_EQ(box.shown[0].text.rfind("Arquivo (CADMOV1) não pode ser aberto.  Erro: Arquivo de dados "
                                      "inválido", 0),
              0u)
        << box.shown[0].text;
    EXPECT_FALSE(f.isOpen());
}

TEST(OpenDataFile, FileOfAnotherLayoutEndsWithWarningOne) {
    ScriptedMessages box;
    TempFolder dir;
    {
        DataFile accounts(files::layouts::tabmov1());
        accounts.setLocation(dir.path(), "CADMOV1");
        OpenDataFile(accounts);
        CloseDataFile(accounts);
    }
    DataFile f(files::layouts::cadmov1());
    f.setLocation(dir.path());
    EXPECT_EQ(haltOf([&] { OpenDataFile(f); }), "Arquivo Inválido!");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Arquivo Inválido");
}

TEST(OpenDataFile, DamagedKeyIsRebuiltOnYesAndEndsTheProgramOnNo) {
    TempFolder dir;
    DataFile f(files::layouts::cadmov1());
    f.setLocation(dir.path());
    {
        ScriptedMessages box;
        OpenDataFile(f);
        Record r = *toRecord(Cadmov1{});
        ASSERT_TRUE(f.db().add(r).ok());
        sqlite3_exec(f.db().handle(), "DROP INDEX \"MOV1:KEY_CADMOV_1\"", nullptr, nullptr, nullptr);
        CloseDataFile(f);
    }
    {
        ScriptedMessages box;
        box.answer(button::No);
        EXPECT_EQ(haltOf([&] { OpenDataFile(f); }), "Chave Inválida!");
        EXPECT_EQ(box.shown.at(0).caption, "Chave Inválida");
    }
    {
        ScriptedMessages box;
        box.answer(button::Yes);
        OpenDataFile(f);
        ASSERT_TRUE(f.isOpen());
        EXPECT_EQ(box.shown.size(), 1u);
        EXPECT_TRUE(f.db().check()->empty());
        CloseDataFile(f);
    }
}

TEST(UpdateRecord, ChangedByAnotherStationShowsTheStoredVersion) {
    ScriptedMessages box;
    TempFolder dir;
    DataFile mine(files::layouts::cadmov1());
    mine.setLocation(dir.path());
    OpenDataFile(mine);
    // Another station: its own connection to the same file.
    auto other = store::Database::open(mine.path(), files::layouts::cadmov1());
    ASSERT_TRUE(other.ok());

    Cadmov1 posting;
    posting.codfil = "A";
    posting.dtalanc = 100;
    posting.codmov = "001";
    posting.vlrcr = Decimal::fromCents(1000);
    Record r = *toRecord(posting);
    ASSERT_TRUE(mine.db().add(r).ok());
    Cadmov1 buffer = fromRecord<Cadmov1>(r);

    Record elsewhere = *(*other)->get(Cadmov1::table(), buffer.position);
    ASSERT_TRUE(elsewhere.set("MOV1:VLRCR", int64_t{2000}).ok());
    ASSERT_TRUE((*other)->put(elsewhere).ok());

    buffer.complemento = "minha mudança";
    EXPECT_EQ(UpdateRecord(mine, buffer, true), update_result::ChangedByAnotherStation);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Registro Não Foi Atualizado");
    EXPECT_EQ(buffer.vlrcr.cents(), 2000);
    EXPECT_EQ(buffer.complemento, "");
    // The buffer now carries the stored version: the user's redone change goes through.
    buffer.complemento = "refeita";
    EXPECT_EQ(UpdateRecord(mine, buffer, true), update_result::Written);
    EXPECT_EQ(fromRecord<Cadmov1>(*(*other)->get(Cadmov1::table(), buffer.position)).complemento,
              "refeita");

    // Not from a form: warning 15 with its changed-by-another-station text.
    Record touched = *(*other)->get(Cadmov1::table(), buffer.position);
    ASSERT_TRUE((*other)->put(touched).ok());
    buffer.complemento = "outra";
    EXPECT_EQ(UpdateRecord(mine, buffer, false), update_result::ChangedByAnotherStation);
    EXPECT_EQ(box.shown.back().text, "Este registro foi alterado por outra estação.");

    // A record another station deleted: delete fails with warning 17, update with warning 15.
    ASSERT_TRUE((*other)->remove(*toRecord(buffer)).ok());
    EXPECT_EQ(DeleteRecord(mine, buffer), 1);
    EXPECT_EQ(box.shown.back().caption, "Erro de Operação de Exclusão");
    EXPECT_EQ(UpdateRecord(mine, buffer, true), update_result::Failed);
    EXPECT_EQ(box.shown.back().caption, "Erro de Operação de Atualização");
    EXPECT_NE(box.shown.back().text.find("Registro não encontrado"), std::string::npos);
    CloseDataFile(mine);
}

TEST(UpdateRecord, TransactionLockHeldElsewhereGivesWarning34AndWritesNothing) {
    ScriptedMessages box;
    TempFolder dir;
    DataFile f(files::layouts::tabmov1());
    f.setLocation(dir.path());
    OpenDataFile(f);
    files::Tabmov1 account;
    account.codmov = "001";
    account.descricao = "Vendas";
    Record r = *toRecord(account);
    ASSERT_TRUE(f.db().add(r).ok());

    auto other = store::Database::open(f.path(), files::layouts::tabmov1());
    ASSERT_TRUE((*other)->begin().ok()); // holds the write lock past the 2-second wait
    ASSERT_TRUE(r.set("TAB1:DESCRICAO", std::string("Compras")).ok());
    EXPECT_EQ(UpdateRecord(f, r, true), update_result::Failed);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "Erro de Composição de Transação");
    EXPECT_NE(box.shown[0].text.find("update transação em TABMOV1.  Update transação cancelada."),
              std::string::npos);
    (*other)->rollback();
    EXPECT_EQ(fromRecord<files::Tabmov1>(*f.db().get(files::Tabmov1::table(), r.position)).descricao,
              "Vendas");
    EXPECT_EQ(DeleteRecord(f, r), 0);
    EXPECT_EQ(*f.db().count(files::Tabmov1::table()), 0);
    CloseDataFile(f);
}
