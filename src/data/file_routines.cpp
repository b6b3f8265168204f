#include "data/file_routines.h"

#include "data/file_names.h"
#include "data/message_service.h"

#include <cctype>
#include <cstdlib>

namespace saldora {

// ---------------------------------------------------------------------------------------------
// Standard warnings

namespace {

std::string shownError(const Error* e) {
    if (!e) return {};
    int number = e->engineCode != 0 ? e->engineCode : e->code;
    return e->text + " (" + std::to_string(number) + ")";
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

[[noreturn]] void endProgram(const char* message) {
    messages().halt(1, message);
    std::abort(); // halt does not return
}

} // namespace

Message warningMessage(int kind, const std::string& nome, const std::string& op,
                       const Error* kept) {
    using namespace button;
    const std::string erro = shownError(kept);
    auto error = [](std::string title, std::string text) {
        return Message::withButtons(std::move(text), std::move(title), Icon::Hand, Ok);
    };
    auto question = [](std::string title, std::string text, int buttons, int dflt) {
        return Message::withButtons(std::move(text), std::move(title), Icon::Question, buttons,
                                    dflt);
    };
    switch (kind) {
    case warning::InvalidFile:
        return error("Arquivo Inválido", "Erro: (" + erro + ") acessando " + nome +
                                             ".  Press OK p/ terminar esta aplicação.");
    case warning::InvalidKey:
        return question("Chave Inválida",
                        nome + " chave do arquivo é inválida.  Você " +
                            "deseja reconstruir a chave?",
                        Yes | No, Yes);
    case warning::KeyRebuildError:
        return error("Erro de reconstrução de chave",
                     "Erro: (" + erro + ") reparando chave para " + nome +
                         ".  Press OK p/ terminar esta aplicação.");
    case warning::CreateError:
        return error("Erro de criação de Arquivo", "Erro: (" + erro + ") criando " + nome +
                                                       ".  Press OK p/ terminar esta aplicação.");
    case warning::CreatedOpenError:
        return error("Erro de Criação de Arquivo",
                     "Erro: (" + erro + ") abrindo arquivo " + "criado:" + nome +
                         ".  Press OK p/ terminar esta aplicação.");
    case warning::AddError:
        return error("Erro de Inclusão de Registro",
                     "Um erro aconteceu durante a atualização do registro.  Erro: " + erro + ".");
    case warning::UpdateOperationError: {
        bool changed = !kept || kept->code == store::errc::ChangedByAnotherStation;
        return error("Erro de Operação de Atualização",
                     changed ? std::string("Este registro foi alterado por outra estação.")
                             : "Um erro (" + erro + ") aconteceu" +
                                   " quando tentava atualizar um registro do arquivo.  Causa "
                                   "provável: " +
                                   nome + ".");
    }
    case warning::UpdateRetry:
        return question("Erro de Atualização de Registro",
                        "Um erro aconteceu alterando este registro.  Você deseja tentar gravar "
                        "outra vez?",
                        Yes | No | Cancel, Yes);
    case warning::DeleteOperationError:
        return error("Erro de Operação de Exclusão",
                     "Um erro (" + erro + ") aconteceu" +
                         " quando tentava excluir um registro do arquivo " + nome + ".");
    case warning::DeleteRetry:
        return question("Erro de Atualização de Registro",
                        "Um erro aconteceu excluindo este registro.  Você deseja tentar gravar "
                        "outra vez?",
                        Yes | No | Cancel, Cancel);
    case warning::InvalidRequest:
        return error("Requisição Inválida",
                     "Esta procedure foi chamada para excluir um registro, entretanto exclusões "
                     "não são permitidas para esta procedure.  Press OK p/ retornar a procedure "
                     "chamadora");
    case warning::AbandonChange:
        return question("Alteração Cancelada", "Tem certeza que deseja abandonar?", Yes | No, No);
    case warning::DuplicateKey:
        return error("Erro de Chave Duplicada",
                     "A inclusão deste registro cria uma entrada duplicada para a chave:" + nome);
    case warning::AutoIncrement:
        return question("Erro de Auto Incremento",
                        "A tentativa de numerar automaticamente este registro falhou.  Erro: " +
                            erro + ".",
                        Retry | Cancel, Cancel);
    case warning::FileAccess:
        return error("Erro de Acesso de Arquivo",
                     "Arquivo (" + nome + ") não pode ser " + "aberto.  Erro: " + erro + ".");
    case warning::PutOrDelete:
        if (op == "Put")
            return error("Erro no Processo de 'PUT'",
                         "Um erro aconteceu quando alterava um registro no arquivo " + nome +
                             ".  Erro: " + erro);
        return error("Erro no Processo de 'DELETE'",
                     "Um erro aconteceu quando excluia um registro do arquivo " + nome +
                         ".  Erro: " + erro);
    case warning::ConfirmDelete:
        return question("Confirmação de Exclusão",
                        "Você selecionou excluir o registro iluminado.  Press OK p/ confirmar a "
                        "exclusão deste registro.",
                        Ok | Cancel, Cancel);
    case warning::SaveChanges:
        return question("Alteração Cancelada", "Você deseja gravar as alteraçãoes deste registro?",
                        Yes | No | Cancel, No);
    case warning::Transaction:
        return error("Erro de Composição de Transação",
                     "Erro: (" + erro + ") tentando compor " + lower(op) + " transação em " +
                         nome + ".  " + op + " transação cancelada.");
    case warning::RecordAccess:
        return error("Erro de Acesso ao Registro",
                     "Erro: (" + erro + ") tentando acessar um " + "registro do arquivo " + nome +
                         ".  Retornando para " + "janela anterior.");
    case warning::ViewOpen:
        return error("Erro de Abertura de 'View'",
                     "Erro: (" + erro + ") tentando abrir a " +
                         "'VIEW' corrente . Filtro e Limites ignorados.");
    case warning::ChangedElsewhere:
        return Message::withButtons(
            "Este registro foi alterado por outra estação. Essas mudanças serão agora mostradas. "
            "Use o botão 'Ditto' ou 'Ctrl+' p/ recuperar suas alterações.",
            "Registro Não Foi Atualizado", Icon::Exclamation, Ok);
    default:
        return error("Erro", "Aviso desconhecido (" + std::to_string(kind) + ").");
    }
}

int FileWarning(int kind, const std::string& name, const std::string& operation,
                const Error* kept) {
    int answer = messages().show(warningMessage(kind, name, operation, kept));
    switch (kind) {
    case warning::InvalidFile: endProgram("Arquivo Inválido!");
    case warning::InvalidKey:
        if (answer == button::No) endProgram("Chave Inválida!");
        break;
    case warning::KeyRebuildError: endProgram("Erro reconstruindo chave!");
    case warning::CreateError: endProgram("Erro de criação de Arquivo!");
    case warning::CreatedOpenError: endProgram("Erro de Criação de Arquivo!");
    default: break;
    }
    return answer;
}

// ---------------------------------------------------------------------------------------------
// Data files

DataFile::DataFile(const store::FileLayout& layout) : layout_(layout) { setLocation("."); }
DataFile::~DataFile() = default;

void DataFile::setLocation(const std::string& folder, const std::string& physicalName) {
    std::string name = physicalName.empty() ? layout_.physicalName : physicalName;
    std::string f = file_names::nativeSeparators(folder);
    if (!f.empty() && f.back() != '/') f += '/';
    path_ = f + store::withDefaultExtension(file_names::nativeSeparators(name));
}

void OpenDataFile(DataFile& file) {
    using store::Database;
    namespace errc = store::errc;
    if (file.db_) { // already open for another screen
        ++file.users_;
        return;
    }
    const std::string path = file_names::resolve(file.path_);
    auto attempt = [&](Database::Create c = Database::Create::Never,
                       Database::Verify v = Database::Verify::Full) {
        return Database::open(path, file.layout_, c, v);
    };
    auto opened = attempt();
    // A lock held by another station: the engine already waited; try once more.
    if (!opened && opened.error().code == errc::Locked) opened = attempt();
    if (!opened && opened.error().code == errc::NotFound) {
        opened = attempt();
        if (!opened && opened.error().code == errc::NotFound) {
            auto created = attempt(Database::Create::IfMissing);
            if (!created) FileWarning(warning::CreateError, file.name(), {}, &created.error());
            created->reset();
            opened = attempt();
            if (!opened)
                FileWarning(warning::CreatedOpenError, file.name(), {}, &opened.error());
        }
    }
    if (!opened && opened.error().code == errc::InvalidKeyFile) {
        FileWarning(warning::InvalidKey, file.name()); // "No" ends the program
        auto damaged = attempt(Database::Create::Never, Database::Verify::Layout);
        Status rebuilt = damaged ? (*damaged)->rebuildKeys() : Status(damaged.error());
        if (!rebuilt) FileWarning(warning::KeyRebuildError, file.name(), {}, &rebuilt.error());
        damaged->reset();
        opened = attempt();
    }
    if (!opened && opened.error().code == errc::WrongLayout) {
        opened = attempt();
        if (!opened && opened.error().code == errc::WrongLayout)
            FileWarning(warning::InvalidFile, file.name(), {}, &opened.error());
    }
    if (!opened && (opened.error().code == errc::InvalidDataFile ||
                    opened.error().code == errc::InvalidKeyFile))
        opened = attempt();
    if (!opened) {
        FileWarning(warning::FileAccess, file.name(), {}, &opened.error());
        messages().halt(1, "Disk Error");
    }
    file.db_ = std::move(*opened);
    file.users_ = 1;
}

void CloseDataFile(DataFile& file) {
    if (file.users_ > 0 && --file.users_ == 0) file.db_.reset();
}

int UpdateRecord(DataFile& file, store::Record& buffer, bool fromForm) {
    store::Database& db = file.db();
    if (Status s = db.begin(); !s) {
        db.rollback();
        FileWarning(warning::Transaction, file.name(), "Update", &s.error());
        return update_result::Failed;
    }
    const int64_t position = buffer.position;
    Status written = db.put(buffer);
    if (written) {
        if (Status c = db.commit(); !c) {
            FileWarning(warning::UpdateOperationError, file.name(), "Update", &c.error());
            return update_result::Failed;
        }
        return update_result::Written;
    }
    db.rollback();
    if (written.error().code == store::errc::ChangedByAnotherStation) {
        if (fromForm) FileWarning(warning::ChangedElsewhere, file.name());
        else FileWarning(warning::UpdateOperationError, file.name(), "Update", &written.error());
        // The buffer takes the stored version; its version number makes the next write check
        // against that version.
        if (auto stored = db.get(buffer.table(), position)) {
            buffer = std::move(*stored);
            return update_result::ChangedByAnotherStation;
        }
        return update_result::Failed;
    }
    FileWarning(warning::UpdateOperationError, file.name(), "Update", &written.error());
    return update_result::Failed;
}

int DeleteRecord(DataFile& file, const store::Record& buffer) {
    store::Database& db = file.db();
    const int64_t position = buffer.position;
    if (Status s = db.begin(); !s) {
        db.rollback();
        FileWarning(warning::Transaction, file.name(), "Delete", &s.error());
        return 1;
    }
    auto stored = db.get(buffer.table(), position);
    Status removed = stored ? db.remove(*stored) : Status(stored.error());
    if (!removed) {
        db.rollback();
        FileWarning(warning::DeleteOperationError, file.name(), {}, &removed.error());
        return 1;
    }
    if (Status c = db.commit(); !c) {
        FileWarning(warning::DeleteOperationError, file.name(), {}, &c.error());
        return 1;
    }
    return 0;
}

} // namespace saldora
