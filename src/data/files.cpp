#include "data/files.h"

#include "data/text.h"

namespace saldora::files {
namespace {

using store::Field;
using store::FieldType;
using store::FileLayout;
using store::Key;
using store::Table;

Field S(const char* n, int size) { return {n, FieldType::String, size}; }
Field C(const char* n, int size) { return {n, FieldType::CString, size}; }
Field M(const char* n, int size) { return {n, FieldType::Memo, size}; }
Field L(const char* n) { return {n, FieldType::Long, 4}; }
Field H(const char* n) { return {n, FieldType::Short, 2}; }
Field B(const char* n) { return {n, FieldType::Byte, 1}; }
Field U(const char* n) { return {n, FieldType::ULong, 4}; }
Field R(const char* n) { return {n, FieldType::Real, 8}; }
Field D(const char* n, int digits) { return {n, FieldType::Decimal, digits, 2}; }

enum Attr { Unique = 1, NoCase = 2, ExcludeBlank = 4, Primary = 8 };
Key K(const char* n, std::vector<std::string> fields, int attrs) {
    return Key{n, std::move(fields), (attrs & Unique) != 0, (attrs & NoCase) != 0,
               (attrs & ExcludeBlank) != 0, (attrs & Primary) != 0};
}

} // namespace

namespace layouts {

const FileLayout& cadfil1() {
    static const FileLayout l{
        "CADFIL1", "CADFIL1", true,
        {Table{"CADFIL1", "FIL1",
               {S("FIL1:CODFIL", 15), S("FIL1:DESCRICAO", 30), S("FIL1:ENDERECO", 50),
                S("FIL1:NUMERO", 5), S("FIL1:CIDADE", 30), S("FIL1:UF", 2), S("FIL1:BAIRRO", 30),
                S("FIL1:CEP", 8), S("FIL1:EMAIL", 50), S("FIL1:TELEFONES", 50), R("FIL1:SLDATU")},
               {K("FIL1:KEY_CADFIL", {"FIL1:CODFIL"}, Unique | NoCase | ExcludeBlank),
                K("FIL1:KEY_DESCRICAO", {"FIL1:DESCRICAO"}, Unique | NoCase | ExcludeBlank)}}}};
    return l;
}

const FileLayout& tabmov1() {
    static const FileLayout l{
        "TABMOV1", "TABMOV1", true,
        {Table{"TABMOV1", "TAB1",
               {S("TAB1:CODMOV", 3), S("TAB1:DESCRICAO", 25), S("TAB1:CRDB", 1)},
               {K("TAB1:KEY_TABMOV", {"TAB1:CODMOV"}, Unique | NoCase | ExcludeBlank),
                K("TAB1:KEY_DESCRICAO", {"TAB1:DESCRICAO"}, Unique | NoCase | ExcludeBlank)}}}};
    return l;
}

const FileLayout& cadmov1() {
    const int dup = NoCase | ExcludeBlank;
    static const FileLayout l{
        "CADMOV1", "CADMOV1", true,
        {Table{"CADMOV1", "MOV1",
               {S("MOV1:CODFIL", 15), L("MOV1:DTALANC"), S("MOV1:CODMOV", 3),
                S("MOV1:COMPLEMENTO", 20), D("MOV1:VLRCR", 11), D("MOV1:VLRDB", 11),
                D("MOV1:SALDOATUAL", 11), S("MOV1:FLAGSALDO", 1)},
               {K("MOV1:KEY_CADMOV", {"MOV1:CODFIL", "MOV1:DTALANC", "MOV1:CODMOV"}, dup),
                K("MOV1:KEY_CADMOV_1",
                  {"MOV1:FLAGSALDO", "MOV1:CODFIL", "MOV1:DTALANC", "MOV1:CODMOV"}, dup),
                K("MOV1:KEY_CADMOV_2", {"MOV1:DTALANC", "MOV1:CODFIL"}, dup)}}}};
    return l;
}

const FileLayout& usuario() {
    static const FileLayout l{
        "USUARIO", "USUARIO", true,
        {Table{"USUARIO", "USU",
               {S("USU:USUARIOEMPRESA", 50),   S("USU:USUARIOENDERECO", 50),
                S("USU:USUARIOENDERECO2", 50), S("USU:USUARIOBAIRRO", 15),
                S("USU:USUARIOBAIRRO2", 15),   S("USU:USUARIOCIDADE", 15),
                S("USU:USUARIOCIDADE2", 15),   S("USU:USUARIOESTADO", 2),
                S("USU:USUARIOESTADO2", 2),    S("USU:USUARIOCEP", 8),
                S("USU:USUARIOCEP2", 8),       S("USU:USUARIOEMPRRESU", 30),
                S("USU:USUARIOCGC", 25),       S("USU:USUARIOCGC2", 25),
                S("USU:USUARIOINSCREST", 20),  S("USU:USUARIOINSCRMUN", 20),
                S("USU:USUARIOINSCRMUN2", 20), S("USU:USUARIOTELS", 30),
                S("USU:USUARIOTELS2", 30),     S("USU:USUARIOFAX", 14),
                S("USU:USUARIOFAX2", 14),      D("USU:SALDOANTERIOR", 11),
                S("USU:EMAIL", 30),            S("USU:EMAIL2", 30),
                S("USU:TIPODOESTABELECIMENTO", 10), B("USU:MODEM_PORTA"),
                U("USU:MODEM_VELOCIDADE"),     B("USU:MODEM_DATABITS"),
                B("USU:MODEM_STOPBITS"),       S("USU:MODEM_PARIDADE", 1),
                S("USU:RODAPE_CUPOM_1", 40),   S("USU:RODAPE_CUPOM_2", 40),
                S("USU:RODAPE_CUPOM_3", 40),   S("USU:RODAPE_CUPOM_4", 40),
                S("USU:RODAPE_CUPOM_5", 40),   S("USU:RODAPE_CUPOM_6", 40),
                S("USU:RODAPE_CUPOM_7", 40),   S("USU:RODAPE_CUPOM_8", 40),
                S("USU:TROCATURNO", 1),        L("USU:HORAFECHAMENTOZ"),
                L("USU:DATAINICIOVERAO"),      L("USU:DATAFIMVERAO"),
                S("USU:AUTOREMPRESA", 40),     S("USU:AUTORENDERECO", 40),
                S("USU:AUTORBAIRRO", 15),      S("USU:AUTORCIDADE", 15),
                S("USU:AUTORESTADO", 2),       S("USU:AUTORCEP", 8),
                S("USU:AUTORTELEFONE", 10),    S("USU:AUTORFAX", 10),
                S("USU:FUNDOPRINCIPAL", 160),  S("USU:FUNDOJANELA", 160),
                B("USU:ENTERTAB"),             S("USU:MENSAGEM_1", 70),
                S("USU:MENSAGEM_2", 70),       S("USU:MENSAGEM_3", 70),
                S("USU:MENSAGEM_4", 70),       S("USU:MENSAGEM_5", 70),
                S("USU:MENSAGEM_6", 70),       S("USU:MENSAGEM_7", 70),
                B("USU:IMPRIMENOTA"),          B("USU:IMPRIMEDUASVIAS"),
                H("USU:QTDADEDIASENTREGA"),    D("USU:PERCENTUALDOMICILIO", 5),
                S("USU:PENDURADADOBRADA", 10), B("USU:IMPRIMEOBSCOURO"),
                B("USU:IMPRIMEVISTORIA")},
               {}}}};
    return l;
}

const FileLayout& paths() {
    static const FileLayout l{
        "PATHS", "PATHS", false,
        {Table{"PATHS", "PAT", {S("PAT:PATH", 255), S("PAT:COMMENTS", 128)},
               {K("PAT:KEYSORT", {"PAT:PATH"}, NoCase | ExcludeBlank)}}}};
    return l;
}

const FileLayout& messages() {
    static const FileLayout l{
        "MESSAGES", "Messages", false,
        {Table{"MESSAGES", "NMF",
               {L("NMF:MESSAGEID"), B("NMF:DONTAUDIT"), S("NMF:MESSAGE", 200)},
               {K("NMF:XMESSAGEID", {"NMF:MESSAGEID"}, Unique | Primary),
                K("NMF:XMESSAGE", {"NMF:MESSAGE"}, NoCase)}}}};
    return l;
}

const FileLayout& mesContr() {
    static const FileLayout l{
        "MESCONTR", "MesContr", false,
        {Table{"MESCONTR", "NMC",
               {L("NMC:USERID"), L("NMC:MESSAGEID"), L("NMC:RANKING"), B("NMC:DONTASKAGAIN"),
                L("NMC:MYANSWER")},
               {K("NMC:XUSERID_MESSAGEID", {"NMC:USERID", "NMC:MESSAGEID"}, Unique | Primary),
                K("NMC:XMESSAGEID", {"NMC:MESSAGEID"}, 0)}}}};
    return l;
}

const FileLayout& helpFile() {
    static const FileLayout l{
        "kvelt.lhl", "kvelt.lhl", false,
        {Table{"HelpFile", "L_HLP",
               {L("L_HLP:IDNUMBER"), C("L_HLP:APPLICATIONNAME", 100),
                C("L_HLP:PROCEDURENAME", 100), C("L_HLP:CONTROLNAME", 100),
                H("L_HLP:QUICKHELP"), M("L_HLP:HELPTEXT", 5000)},
               {K("L_HLP:KEYIDNUMBER", {"L_HLP:IDNUMBER"}, Unique | NoCase | ExcludeBlank),
                K("L_HLP:KEYHELP",
                  {"L_HLP:APPLICATIONNAME", "L_HLP:PROCEDURENAME", "L_HLP:CONTROLNAME"},
                  Unique | NoCase | ExcludeBlank | Primary)}},
         Table{"QuickHelpFile", "L_QCK",
               {L("L_QCK:IDNUMBER"), C("L_QCK:FONTNAME", 20), L("L_QCK:FONTCOLOR"),
                L("L_QCK:FONTSTYLE"), H("L_QCK:FONTSIZE"), H("L_QCK:XPOS"), H("L_QCK:YPOS"),
                H("L_QCK:WIDTH"), H("L_QCK:HEIGHT"), H("L_QCK:CREATETYPE"), L("L_QCK:COLOR"),
                L("L_QCK:FILL"), B("L_QCK:CENTER"), C("L_QCK:HELPTEXT", 200)},
               {K("L_QCK:KEYIDNUMBER", {"L_QCK:IDNUMBER"}, NoCase | ExcludeBlank)}}}};
    return l;
}

const std::vector<const FileLayout*>& all() {
    static const std::vector<const FileLayout*> v{&cadfil1(), &tabmov1(),  &cadmov1(),
                                                  &usuario(), &paths(),    &messages(),
                                                  &mesContr(), &helpFile()};
    return v;
}

const FileLayout* find(std::string_view name) {
    for (const FileLayout* l : all())
        if (cp1252::compareNoCase(l->name, name) == 0 ||
            cp1252::compareNoCase(l->physicalName, name) == 0)
            return l;
    return nullptr;
}

} // namespace layouts

#define SALDORA_TABLE(Type, layoutFn, index)                                                       \
    const store::Table& Type::table() { return layouts::layoutFn().tables[index]; }

SALDORA_TABLE(Cadfil1, cadfil1, 0)
SALDORA_TABLE(Tabmov1, tabmov1, 0)
SALDORA_TABLE(Cadmov1, cadmov1, 0)
SALDORA_TABLE(Usuario, usuario, 0)
SALDORA_TABLE(Paths, paths, 0)
SALDORA_TABLE(Messages, messages, 0)
SALDORA_TABLE(MesContr, mesContr, 0)
SALDORA_TABLE(HelpFile, helpFile, 0)
SALDORA_TABLE(QuickHelpFile, helpFile, 1)
#undef SALDORA_TABLE

const std::vector<Member<Cadfil1>>& Cadfil1::members() {
    using R = Cadfil1;
    static const std::vector<Member<R>> m{&R::codfil, &R::descricao, &R::endereco, &R::numero,
                                          &R::cidade, &R::uf,        &R::bairro,   &R::cep,
                                          &R::email,  &R::telefones, &R::sldatu};
    return m;
}

const std::vector<Member<Tabmov1>>& Tabmov1::members() {
    using R = Tabmov1;
    static const std::vector<Member<R>> m{&R::codmov, &R::descricao, &R::crdb};
    return m;
}

const std::vector<Member<Cadmov1>>& Cadmov1::members() {
    using R = Cadmov1;
    static const std::vector<Member<R>> m{&R::codfil, &R::dtalanc, &R::codmov, &R::complemento,
                                          &R::vlrcr,  &R::vlrdb,   &R::saldoatual,
                                          &R::flagsaldo};
    return m;
}

const std::vector<Member<Usuario>>& Usuario::members() {
    using R = Usuario;
    static const std::vector<Member<R>> m{
        &R::usuarioempresa, &R::usuarioendereco, &R::usuarioendereco2, &R::usuariobairro,
        &R::usuariobairro2, &R::usuariocidade, &R::usuariocidade2, &R::usuarioestado,
        &R::usuarioestado2, &R::usuariocep, &R::usuariocep2, &R::usuarioemprresu,
        &R::usuariocgc, &R::usuariocgc2, &R::usuarioinscrest, &R::usuarioinscrmun,
        &R::usuarioinscrmun2, &R::usuariotels, &R::usuariotels2, &R::usuariofax,
        &R::usuariofax2, &R::saldoanterior, &R::email, &R::email2, &R::tipodoestabelecimento,
        &R::modem_porta, &R::modem_velocidade, &R::modem_databits, &R::modem_stopbits,
        &R::modem_paridade, &R::rodape_cupom_1, &R::rodape_cupom_2, &R::rodape_cupom_3,
        &R::rodape_cupom_4, &R::rodape_cupom_5, &R::rodape_cupom_6, &R::rodape_cupom_7,
        &R::rodape_cupom_8, &R::trocaturno, &R::horafechamentoz, &R::datainicioverao,
        &R::datafimverao, &R::autorempresa, &R::autorendereco, &R::autorbairro,
        &R::autorcidade, &R::autorestado, &R::autorcep, &R::autortelefone, &R::autorfax,
        &R::fundoprincipal, &R::fundojanela, &R::entertab, &R::mensagem_1, &R::mensagem_2,
        &R::mensagem_3, &R::mensagem_4, &R::mensagem_5, &R::mensagem_6, &R::mensagem_7,
        &R::imprimenota, &R::imprimeduasvias, &R::qtdadediasentrega, &R::percentualdomicilio,
        &R::penduradadobrada, &R::imprimeobscouro, &R::imprimevistoria};
    return m;
}

const std::vector<Member<Paths>>& Paths::members() {
    static const std::vector<Member<Paths>> m{&Paths::path, &Paths::comments};
    return m;
}

const std::vector<Member<Messages>>& Messages::members() {
    using R = Messages;
    static const std::vector<Member<R>> m{&R::messageid, &R::dontaudit, &R::message};
    return m;
}

const std::vector<Member<MesContr>>& MesContr::members() {
    using R = MesContr;
    static const std::vector<Member<R>> m{&R::userid, &R::messageid, &R::ranking,
                                          &R::dontaskagain, &R::myanswer};
    return m;
}

const std::vector<Member<HelpFile>>& HelpFile::members() {
    using R = HelpFile;
    static const std::vector<Member<R>> m{&R::idnumber,    &R::applicationname,
                                          &R::procedurename, &R::controlname,
                                          &R::quickhelp,   &R::helptext};
    return m;
}

const std::vector<Member<QuickHelpFile>>& QuickHelpFile::members() {
    using R = QuickHelpFile;
    static const std::vector<Member<R>> m{
        &R::idnumber, &R::fontname, &R::fontcolor,  &R::fontstyle, &R::fontsize,
        &R::xpos,     &R::ypos,     &R::width,      &R::height,    &R::createtype,
        &R::color,    &R::fill,     &R::center,     &R::helptext};
    return m;
}

} // namespace saldora::files
