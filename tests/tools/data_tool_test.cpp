#include "data/files.h"
#include "data/store.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include <fstream>

using saldora::testing::ChildProcess;
using saldora::testing::TempFolder;

namespace {

const std::string kTool = std::string(SALDORA_BINARY_DIR) + "/tools/saldora-dados";

std::pair<int, std::string> tool(std::vector<std::string> args) {
    args.insert(args.begin(), kTool);
    return ChildProcess::run(args);
}

void write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

const std::string kHeader = "FIL1:CODFIL,FIL1:DESCRICAO,FIL1:ENDERECO,FIL1:NUMERO,FIL1:CIDADE,"
                            "FIL1:UF,FIL1:BAIRRO,FIL1:CEP,FIL1:EMAIL,FIL1:TELEFONES,FIL1:SLDATU\n";

} // namespace

TEST(DataTool, LoadThenDumpGivesTheRecordsBackInKeyOrder) {
    TempFolder dir;
    write(dir.file("in.csv"),
          kHeader +
              "zeta,\"Padaria São João, Ltda\",Rua A,12,Recife,PE,Boa Vista,50000000,z@x.br,"
              "\"(81) 3333-1234\",0\n"
              "Alfa,Açougue \"Boi\",,,,,,,,,12.5\n"
              "beta,Mercado Ávila,,,,,,,,,-0.1\n");
    auto [loaded, loadOut] = tool({"load", dir.path(), "CADFIL1", dir.file("in.csv")});
    ASSERT_EQ(loaded, 0) << loadOut;
    EXPECT_NE(loadOut.find("3 registros incluídos em CADFIL1"), std::string::npos);

    auto [dumped, csv] = tool({"dump", dir.path(), "cadfil1"});
    ASSERT_EQ(dumped, 0) << csv;
    EXPECT_EQ(csv, kHeader +
                       "Alfa,\"Açougue \"\"Boi\"\"\",,,,,,,,,12.5\n"
                       "beta,Mercado Ávila,,,,,,,,,-0.1\n"
                       "zeta,\"Padaria São João, Ltda\",Rua A,12,Recife,PE,Boa Vista,50000000,"
                       "z@x.br,(81) 3333-1234,0\n");
    auto [byName, csv2] = tool({"dump", dir.path(), "CADFIL1", "--key", "FIL1:KEY_DESCRICAO"});
    ASSERT_EQ(byName, 0);
    EXPECT_LT(csv2.find("Açougue"), csv2.find("Mercado"));

    // The dump loads into an empty folder as it stands.
    TempFolder copy;
    write(copy.file("dump.csv"), csv);
    EXPECT_EQ(tool({"load", copy.path(), "CADFIL1", copy.file("dump.csv")}).first, 0);
    EXPECT_EQ(tool({"dump", copy.path(), "CADFIL1"}).second, csv);
}

TEST(DataTool, BadRowsAreReportedByLineAndNothingIsWritten) {
    TempFolder dir;
    write(dir.file("ok.csv"), kHeader + "A,Primeiro,,,,,,,,,0\n");
    ASSERT_EQ(tool({"load", dir.path(), "CADFIL1", dir.file("ok.csv")}).first, 0);

    write(dir.file("bad.csv"),
          kHeader + "B,Segundo,,,,,,,,,0\n"
                    "C,Nome de trinta e um caracteres!,,,,,,,,,0\n"
                    "D,Quarto,,,,,,,,,dez\n"
                    "E,Quinto,,,,\n"
                    "F,Preço ≥ 10,,,,,,,,,0\n");
    auto [code, out] = tool({"load", dir.path(), "CADFIL1", dir.file("bad.csv")});
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("Linha 3: FIL1:DESCRICAO: texto de 31 caracteres; o campo aceita 30."),
              std::string::npos) << out;
    EXPECT_NE(out.find("Linha 4: FIL1:SLDATU"), std::string::npos) << out;
    EXPECT_NE(out.find("Linha 5: 6 campos; CADFIL1 tem 11."), std::string::npos) << out;
    EXPECT_NE(out.find("Linha 6: FIL1:DESCRICAO: O caractere \"≥\""), std::string::npos) << out;
    EXPECT_EQ(out.find("Linha 2"), std::string::npos) << out;

    // A duplicate key found while writing also leaves the file as it was.
    write(dir.file("dup.csv"), kHeader + "G,Sétimo,,,,,,,,,0\na,Outro,,,,,,,,,0\n");
    auto [dupCode, dupOut] = tool({"load", dir.path(), "CADFIL1", dir.file("dup.csv")});
    EXPECT_EQ(dupCode, 1);
    EXPECT_NE(dupOut.find("Linha 3: Chave duplicada: FIL1:KEY_CADFIL"), std::string::npos) << dupOut;
    auto [_, dump] = tool({"dump", dir.path(), "CADFIL1"});
    EXPECT_EQ(dump, kHeader + "A,Primeiro,,,,,,,,,0\n");
}

TEST(DataTool, CheckFindsDamageAndRebuildMendsIt) {
    TempFolder dir;
    write(dir.file("m.csv"),
          "MOV1:CODFIL,MOV1:DTALANC,MOV1:CODMOV,MOV1:COMPLEMENTO,MOV1:VLRCR,MOV1:VLRDB,"
          "MOV1:SALDOATUAL,MOV1:FLAGSALDO\nA,81413,001,x,1.00,0,0,\n");
    ASSERT_EQ(tool({"load", dir.path(), "CADMOV1", dir.file("m.csv")}).first, 0);
    auto [sound, soundOut] = tool({"check", dir.path()});
    EXPECT_EQ(sound, 0) << soundOut;
    EXPECT_NE(soundOut.find("CADMOV1: ok (1 registros)"), std::string::npos) << soundOut;
    EXPECT_NE(soundOut.find("CADFIL1: ausente"), std::string::npos);
    {
        auto db = saldora::store::Database::open(dir.file("CADMOV1.sld"),
                                                 saldora::files::layouts::cadmov1());
        ASSERT_TRUE(db.ok());
        sqlite3_exec((*db)->handle(), "DROP INDEX \"MOV1:KEY_CADMOV\"", nullptr, nullptr, nullptr);
    }
    auto [damaged, damagedOut] = tool({"check", dir.path()});
    EXPECT_EQ(damaged, 1);
    EXPECT_NE(damagedOut.find("CADMOV1: danificado"), std::string::npos) << damagedOut;
    auto [rebuilt, rebuiltOut] = tool({"rebuild", dir.path(), "CADMOV1"});
    EXPECT_EQ(rebuilt, 0) << rebuiltOut;
    EXPECT_EQ(tool({"check", dir.path()}).first, 0);

    write(dir.file("TABMOV1.sld"), std::string(4096, 'q'));
    auto [foreign, foreignOut] = tool({"check", dir.path()});
    EXPECT_EQ(foreign, 1);
    EXPECT_NE(foreignOut.find("TABMOV1: não pode ser aberto"), std::string::npos) << foreignOut;
}

TEST(DataTool, PicturesDatesAndWrongCalls) {
    struct Case { std::vector<std::string> args; int code; std::string out; };
    const Case cases[] = {
        {{"picture", "@n-14.`2", "-1234567.5", "0"}, 0, "\" -1.234.567,50\"\n\"          0,00\"\n"},
        {{"picture", "@P#####-###P", "01310100"}, 0, "\"01310-100\"\n"},
        {{"picture", "--parse", "@n-14.`2", "1.234,56"}, 0, "\"1234.56\"\n"},
        {{"picture", "--parse", "@d06", "31/02/2024"}, 1, ""},
        {{"picture", "@x", "1"}, 1, ""},
        {{"date", "81413"}, 0, "81413 = 22/11/2023 (quarta-feira)\n"},
        {{"date", "01/01/1801"}, 0, "4 = 01/01/1801 (quinta-feira)\n"},
        {{"date", "3"}, 1, ""},
        {{}, 2, "uso:"},
        {{"dump", "/tmp"}, 2, "uso:"},
        {{"desconhecido", "x"}, 2, "uso:"},
    };
    for (const auto& c : cases) {
        auto [code, out] = tool(c.args);
        EXPECT_EQ(code, c.code) << out;
        if (c.code == 0) {
            EXPECT_EQ(out, c.out);
        } else if (!c.out.empty()) {
            EXPECT_NE(out.find(c.out), std::string::npos) << out;
        }
    }
}

TEST(DataTool, PostsAFileOfPostingsAndCheckReportsDayBalancesThatDoNotFollow) {
    TempFolder dir;
    write(dir.file("clientes.csv"), kHeader + "ALFA,Padaria Alfa,,,,,,,,,0\n");
    write(dir.file("outro.csv"), kHeader + "Beta,Bar Beta,,,,,,,,,0\n");
    write(dir.file("contas.csv"), "TAB1:CODMOV,TAB1:DESCRICAO,TAB1:CRDB\n001,Vendas,+\n002,Compras,-\n");
    ASSERT_EQ(tool({"load", dir.path(), "CADFIL1", dir.file("clientes.csv")}).first, 0);
    ASSERT_EQ(tool({"load", dir.path(), "TABMOV1", dir.file("contas.csv")}).first, 0);
    write(dir.file("extrato.csv"), "ALFA,10/03/2026,001,Depósito,\"100,00\",\n"
                                   "ALFA,12/03/2026,002,Cheque 15,,30.00\n"
                                   "ALFA,11/03/2026,001,Atrasado,5,\n");
    auto [posted, out] = tool({"lancar", dir.path(), dir.file("extrato.csv")});
    EXPECT_EQ(posted, 1) << out; // a refused row
    EXPECT_NE(out.find("Linha 3: Já existe lançamento posterior (12/03/2026) a data selecionada."),
              std::string::npos) << out;
    EXPECT_NE(out.find("2 lançamento(s) incluído(s); 1 linha(s) recusada(s)."), std::string::npos);

    auto [dumped, csv] = tool({"dump", dir.path(), "CADMOV1", "--key", "MOV1:KEY_CADMOV_1"});
    ASSERT_EQ(dumped, 0);
    EXPECT_EQ(csv, "MOV1:CODFIL,MOV1:DTALANC,MOV1:CODMOV,MOV1:COMPLEMENTO,MOV1:VLRCR,MOV1:VLRDB,"
                   "MOV1:SALDOATUAL,MOV1:FLAGSALDO\n"
                   "ALFA,82252,001,Depósito,100.00,0.00,0.00,\n"
                   "ALFA,82254,002,Cheque 15,0.00,30.00,0.00,\n"
                   "ALFA,82252,999,,0.00,0.00,100.00,S\n"
                   "ALFA,82254,999,,0.00,0.00,70.00,S\n");
    auto [sound, report] = tool({"check", dir.path()});
    EXPECT_EQ(sound, 0) << report;
    EXPECT_EQ(report.find("saldo do dia"), std::string::npos) << report;
    EXPECT_EQ(report.find("minúsculas"), std::string::npos) << report;

    // A day balance changed behind the program's back is reported, and is no damage.
    ChildProcess::run({std::string(SALDORA_BINARY_DIR) + "/tests/store_worker", "set", dir.path(),
                       "CADMOV1", "2", "MOV1:SALDOATUAL", "90.00"});
    auto [still, changed] = tool({"check", dir.path()});
    EXPECT_EQ(still, 0) << changed;
    EXPECT_NE(changed.find("saldo do dia: ALFA 10/03/2026: gravado 90,00, segundo os lançamentos "
                           "100,00"), std::string::npos) << changed;
    EXPECT_NE(changed.find("saldo do dia: ALFA 12/03/2026: gravado 70,00, segundo os lançamentos "
                           "60,00"), std::string::npos) << changed;

    // A client code brought in with lower-case letters is pointed out.
    ASSERT_EQ(tool({"load", dir.path(), "CADFIL1", dir.file("outro.csv")}).first, 0);
    auto [lower, lowerOut] = tool({"check", dir.path()});
    EXPECT_EQ(lower, 0);
    EXPECT_NE(lowerOut.find("código com minúsculas: Beta"), std::string::npos) << lowerOut;
}
