#pragma once
// Acesso: what the person running a host program may do with the module's files, as the file system
// says, and the privilege level the configurator hands the module from that.
//
// The files that count are those a save of a screen reads and writes, and the folders it writes into
// (a save replaces a file through a temporary beside it, so the folder must take new files too):
//   root/config/                    the folder itself (the server root, while it has none), and the
//                                   general settings root/config/Mirabelo.ini when present;
//   root/config/empresas/           when present;
//   root/config/empresas/<code>/    every company folder present (8 letters or digits), and its
//                                   Mirabelo.ini when present.
// Names are found without regard to case, as the module finds them. The server's own files
// (KovanCfg.ini, the .cnf files, the group database, the translation files) are only read by the
// screens and do not count. A folder may be read when the user may list and search it, written when
// the user may write and search it; a file may be written when the user may write it and it is not
// read-only (no write permission bit: the module refuses those, root included).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The level that may edit and delete, and the one that may only view.
inline constexpr std::uint16_t NivelTotal = 0;
inline constexpr std::uint16_t NivelConsulta = 2;

enum class TDireito { Escrita, Leitura, Nenhum };

struct TAcessoArquivos {
    TDireito Direito = TDireito::Escrita;
    /// Leitura: the first path the user may not write; Nenhum: the first one the user may not read.
    std::string Caminho;
    /// Nenhum: the system's reason (errno).
    int Erro = 0;
};

/// What the effective user may do with the module's files under Raiz (a root as the module names it).
TAcessoArquivos AcessoAosArquivos(const std::string& Raiz);

/// The first of Arquivo (a Linux path) and the folders above it, up to the first that exists, that
/// the effective user may not write; empty when a write there is not refused by permissions.
std::string PrimeiroSemEscrita(const std::string& Arquivo);

/// The effective user's login name (UTF-8), or "uid N" when the user database has no entry for it.
std::string UsuarioEfetivo();

struct TNivel {
    std::uint16_t Nivel = NivelTotal;
    /// Where the level came from: "file access", "file access (may not write PATH)",
    /// "group NAME in [acesso]" or "--level".
    std::string Origem;
    /// What the person should hear on standard error, a line each: a --level that asks for more than
    /// the system gives, a group of [acesso] that does not exist.
    std::vector<std::string> Avisos;
};

/// The level handed to the module. Arquivos is the user's access (Escrita or Leitura); Consulta the
/// value of [acesso] consulta in CfKovan.ini (group names separated by commas), whose members only
/// view; Pedido the level asked for on the command line (0 or 2), if any: it may lower the level,
/// never raise it.
TNivel NivelDoUsuario(const TAcessoArquivos& Arquivos, const std::string& Consulta,
                      std::optional<std::uint16_t> Pedido);

/// The line that says who runs the configurator with which level and why:
/// "user NAME: level 2 (view only) from ORIGIN".
std::string DescreveNivel(const TNivel& Nivel);
