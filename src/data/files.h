#pragma once
// The program's data files: their layouts, declared once, and a typed record for each table.
// Member names follow the field names (MOV1:VLRCR -> Cadmov1::vlrcr).
#include "data/record_binding.h"

namespace saldora::files {

namespace layouts {
const store::FileLayout& cadfil1();   // clients and branches
const store::FileLayout& tabmov1();   // posting accounts
const store::FileLayout& cadmov1();   // postings and day balances
const store::FileLayout& usuario();   // the user's own company data (one record)
const store::FileLayout& paths();     // remembered data folders, in the program folder
const store::FileLayout& messages();  // texts of the messages shown
const store::FileLayout& mesContr();  // how often each message was answered
const store::FileLayout& helpFile();  // popup help: tables HelpFile and QuickHelpFile
// Every layout above, for the data tool.
const std::vector<const store::FileLayout*>& all();
const store::FileLayout* find(std::string_view name); // by name or physical name, any case
} // namespace layouts

// Account code and flag of the day-balance records of CADMOV1.
inline constexpr const char* kDayBalanceAccount = "999";
inline constexpr const char* kDayBalanceFlag = "S";

struct Cadfil1 : StoredRecord {
    std::string codfil, descricao, endereco, numero, cidade, uf, bairro, cep, email, telefones;
    double sldatu = 0;
    static const store::Table& table();
    static const std::vector<Member<Cadfil1>>& members();
};

struct Tabmov1 : StoredRecord {
    std::string codmov, descricao, crdb;
    static const store::Table& table();
    static const std::vector<Member<Tabmov1>>& members();
};

struct Cadmov1 : StoredRecord {
    std::string codfil;
    int32_t dtalanc = 0;
    std::string codmov, complemento;
    Decimal vlrcr, vlrdb, saldoatual;
    std::string flagsaldo;
    static const store::Table& table();
    static const std::vector<Member<Cadmov1>>& members();
};

struct Usuario : StoredRecord {
    std::string usuarioempresa, usuarioendereco, usuarioendereco2, usuariobairro, usuariobairro2,
        usuariocidade, usuariocidade2, usuarioestado, usuarioestado2, usuariocep, usuariocep2,
        usuarioemprresu, usuariocgc, usuariocgc2, usuarioinscrest, usuarioinscrmun,
        usuarioinscrmun2, usuariotels, usuariotels2, usuariofax, usuariofax2;
    Decimal saldoanterior;
    std::string email, email2, tipodoestabelecimento;
    uint8_t modem_porta = 0;
    uint32_t modem_velocidade = 0;
    uint8_t modem_databits = 0, modem_stopbits = 0;
    std::string modem_paridade;
    std::string rodape_cupom_1, rodape_cupom_2, rodape_cupom_3, rodape_cupom_4, rodape_cupom_5,
        rodape_cupom_6, rodape_cupom_7, rodape_cupom_8;
    std::string trocaturno;
    int32_t horafechamentoz = 0, datainicioverao = 0, datafimverao = 0;
    std::string autorempresa, autorendereco, autorbairro, autorcidade, autorestado, autorcep,
        autortelefone, autorfax, fundoprincipal, fundojanela;
    uint8_t entertab = 0;
    std::string mensagem_1, mensagem_2, mensagem_3, mensagem_4, mensagem_5, mensagem_6,
        mensagem_7;
    uint8_t imprimenota = 0, imprimeduasvias = 0;
    int16_t qtdadediasentrega = 0;
    Decimal percentualdomicilio;
    std::string penduradadobrada;
    uint8_t imprimeobscouro = 0, imprimevistoria = 0;
    static const store::Table& table();
    static const std::vector<Member<Usuario>>& members();
};

struct Paths : StoredRecord {
    std::string path, comments;
    static const store::Table& table();
    static const std::vector<Member<Paths>>& members();
};

struct Messages : StoredRecord {
    int32_t messageid = 0;
    uint8_t dontaudit = 0;
    std::string message;
    static const store::Table& table();
    static const std::vector<Member<Messages>>& members();
};

struct MesContr : StoredRecord {
    int32_t userid = 0, messageid = 0, ranking = 0;
    uint8_t dontaskagain = 0;
    int32_t myanswer = 0;
    static const store::Table& table();
    static const std::vector<Member<MesContr>>& members();
};

struct HelpFile : StoredRecord {
    int32_t idnumber = 0;
    std::string applicationname, procedurename, controlname;
    int16_t quickhelp = 0;
    std::string helptext;
    static const store::Table& table();
    static const std::vector<Member<HelpFile>>& members();
};

struct QuickHelpFile : StoredRecord {
    int32_t idnumber = 0;
    std::string fontname;
    int32_t fontcolor = 0, fontstyle = 0;
    int16_t fontsize = 0, xpos = 0, ypos = 0, width = 0, height = 0, createtype = 0;
    int32_t color = 0, fill = 0;
    uint8_t center = 0;
    std::string helptext;
    static const store::Table& table();
    static const std::vector<Member<QuickHelpFile>>& members();
};

} // namespace saldora::files
