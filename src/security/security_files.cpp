#include "security/security_files.h"

namespace saldora::security::files {
namespace {

using store::Field;
using store::FieldType;
using store::FileLayout;
using store::Key;
using store::Table;

Key key(const char* name, std::vector<std::string> fields, bool unique, bool noCase) {
    return Key{name, std::move(fields), unique, noCase, false, false};
}

} // namespace

namespace layouts {

const FileLayout& seguranca() {
    static const FileLayout l{
        "SEGURANCA",
        "SEGURANCA",
        true,
        {Table{"SEGUSUARIO",
               "SEGU",
               {{"SEGU:ID", FieldType::Long, 4},
                {"SEGU:LOGIN", FieldType::String, kLoginWidth},
                {"SEGU:NOME", FieldType::String, kNameWidth},
                {"SEGU:SENHA", FieldType::String, kHashWidth},
                {"SEGU:ADMINISTRADOR", FieldType::Byte, 1}},
               {key("SEGU:KEY_ID", {"SEGU:ID"}, true, false),
                key("SEGU:KEY_LOGIN", {"SEGU:LOGIN"}, true, true)}},
         Table{"SEGAREA",
               "SEGA",
               {{"SEGA:AREA", FieldType::String, kAreaWidth},
                {"SEGA:DIREITOS", FieldType::Memo, 2048}},
               {key("SEGA:KEY_AREA", {"SEGA:AREA"}, true, true)}},
         Table{"SEGDIREITO",
               "SEGD",
               {{"SEGD:USUARIO", FieldType::Long, 4},
                {"SEGD:AREA", FieldType::String, kAreaWidth},
                {"SEGD:DIREITOS", FieldType::ULong, 4}},
               {key("SEGD:KEY_USUARIO_AREA", {"SEGD:USUARIO", "SEGD:AREA"}, true, true)}}}};
    return l;
}

const FileLayout& segsessao() {
    static const FileLayout l{"SEGSESSAO",
                              "SEGSESSAO",
                              true,
                              {Table{"SEGSESSAO",
                                     "SEGS",
                                     {{"SEGS:SESSAO", FieldType::String, kTokenWidth},
                                      {"SEGS:USUARIO", FieldType::Long, 4},
                                      {"SEGS:ESTACAO", FieldType::String, kStationWidth},
                                      {"SEGS:PROCESSO", FieldType::Long, 4},
                                      {"SEGS:INICIO", FieldType::Real, 8},
                                      {"SEGS:SINAL", FieldType::Real, 8}},
                                     {key("SEGS:KEY_SESSAO", {"SEGS:SESSAO"}, true, false)}}}};
    return l;
}

} // namespace layouts

const store::Table& SegUsuario::table() {
    return layouts::seguranca().tables[0];
}
const store::Table& SegArea::table() {
    return layouts::seguranca().tables[1];
}
const store::Table& SegDireito::table() {
    return layouts::seguranca().tables[2];
}
const store::Table& SegSessao::table() {
    return layouts::segsessao().tables[0];
}

const std::vector<Member<SegUsuario>>& SegUsuario::members() {
    using R = SegUsuario;
    static const std::vector<Member<R>> m{&R::id, &R::login, &R::nome, &R::senha,
                                          &R::administrador};
    return m;
}

const std::vector<Member<SegArea>>& SegArea::members() {
    static const std::vector<Member<SegArea>> m{&SegArea::area, &SegArea::direitos};
    return m;
}

const std::vector<Member<SegDireito>>& SegDireito::members() {
    using R = SegDireito;
    static const std::vector<Member<R>> m{&R::usuario, &R::area, &R::direitos};
    return m;
}

const std::vector<Member<SegSessao>>& SegSessao::members() {
    using R = SegSessao;
    static const std::vector<Member<R>> m{&R::sessao,   &R::usuario, &R::estacao,
                                          &R::processo, &R::inicio,  &R::sinal};
    return m;
}

} // namespace saldora::security::files
