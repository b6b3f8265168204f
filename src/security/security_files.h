#pragma once
// The record files of the access control, in the data folder beside the data files and encrypted
// like them, so that every station sharing the folder sees the same users, rights and sessions.
//   SEGURANCA: the users (SEGUSUARIO), the areas with their named rights (SEGAREA) and each
//              user's rights per area (SEGDIREITO);
//   SEGSESSAO: who is logged in on which station.
// Sessions live in a file of their own: every station rewrites its session every half minute, and
// those writes never wait on, or hold up, a change of users or rights.
#include "data/record_binding.h"

namespace saldora::security::files {

namespace layouts {
const store::FileLayout& seguranca();
const store::FileLayout& segsessao();
} // namespace layouts

// Widths of the texts, in cp1252 characters.
inline constexpr int kLoginWidth = 12;
inline constexpr int kNameWidth = 40;
inline constexpr int kAreaWidth = 30;
inline constexpr int kHashWidth = 128; // an Argon2id hash string of the password
inline constexpr int kStationWidth = 64;
inline constexpr int kTokenWidth = 32;

struct SegUsuario : StoredRecord {
    int32_t id = 0; // never reused: rights and sessions refer to it
    std::string login, nome, senha;
    uint8_t administrador = 0;
    static const store::Table& table();
    static const std::vector<Member<SegUsuario>>& members();
};

struct SegArea : StoredRecord {
    std::string area;
    std::string direitos; // the 32 names of the area's rights, "|"-separated
    static const store::Table& table();
    static const std::vector<Member<SegArea>>& members();
};

struct SegDireito : StoredRecord {
    int32_t usuario = 0;
    std::string area;
    uint32_t direitos = 0; // bit n: the area's right n
    static const store::Table& table();
    static const std::vector<Member<SegDireito>>& members();
};

struct SegSessao : StoredRecord {
    std::string sessao; // random token naming the session
    int32_t usuario = 0;
    std::string estacao; // host name
    int32_t processo = 0;
    double inicio = 0, sinal = 0; // login and last sign of life, seconds since 1970 (UTC)
    static const store::Table& table();
    static const std::vector<Member<SegSessao>>& members();
};

} // namespace saldora::security::files
