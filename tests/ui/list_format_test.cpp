#include "support/work_folder.h"
#include "ui/list_format.h"

#include <gtest/gtest.h>

using namespace saldora::ui;

TEST(ListFormat, ReadsAndWritesTheFormatsOfTheLists) {
    const std::string formats[] = {
        "27C|_M*~Conta:~@s3@123L|_M*~Descrição:~@s25@4C|_M*~CRDB:~@s1@",
        "62L|_M*~Filial/Cliente:~L(4)@s15@120L|_M*~Descrição:~L(4)@s30@",
        "61L|_M*~Filial/Cliente:~@s15@46C|_M*~Lançamento:~@d06@17C|_M*~Cód:~@s3@56L|_M*~Descrição:~"
        "@s25@56L|_M*~Complemento:~@s20@51R(1)|_M*~Crédito:~R(2)@n-14.`2@E(0FF0000H,0FFFFFFH,,)56R("
        "1)|_M*~Débito:~R(2)@n-14.`2@E(0FFH,0FFFFFFH,,)",
    };
    for (const auto& f : formats) {
        auto columns = parseListFormat(f);
        ASSERT_TRUE(columns.ok()) << f;
        EXPECT_EQ(writeListFormat(*columns), f);
    }
    auto posting = *parseListFormat(formats[2]);
    ASSERT_EQ(posting.size(), 7u);
    EXPECT_EQ(posting[5].header, "Crédito:");
    EXPECT_EQ(posting[5].alignment, 'R');
    EXPECT_EQ(posting[5].indent, 1);
    EXPECT_EQ(posting[5].headerAlignment, 'R');
    EXPECT_EQ(posting[5].headerIndent, 2);
    EXPECT_EQ(posting[5].picture, "@n-14.`2");
    EXPECT_EQ(posting[5].foreground, 0xFF0000);
    EXPECT_EQ(posting[5].background, 0xFFFFFF);
    EXPECT_EQ(posting[5].selectedForeground, -1);
    EXPECT_EQ(posting[1].picture, "@d06");
    EXPECT_TRUE(posting[1].resizable && posting[1].rightBorder && posting[1].cellColors);

    for (const char* bad : {"", "C~x~@s3@", "27C~x@s3@", "27C~x~@s3", "27X~x~@s3@", "27C(4~x~@s3@"})
        EXPECT_FALSE(parseListFormat(bad).ok()) << bad;
}

TEST(ListFormat, TheUsersLayoutStandsOnlyWhileTheDesignIsUnchanged) {
    saldora::testing::WorkFolder cwd;
    const std::string key = "ktBrowseFormat10_PesquisaContas_Browse:1";
    const std::string design = "27C|_M*~Conta:~@s3@123L|_M*~Descrição:~@s25@";
    EXPECT_EQ(restoreListFormat(key, design), design); // first time: the design is written
    const std::string mine = "40C|_M*~Conta:~@s3@90L|_M*~Descrição:~@s25@";
    saveListFormat(key, mine);
    EXPECT_EQ(restoreListFormat(key, design), mine);
    const std::string newDesign = "30C|_M*~Conta:~@s3@123L|_M*~Descrição:~@s25@";
    EXPECT_EQ(restoreListFormat(key, newDesign), newDesign); // a new design wins
}
