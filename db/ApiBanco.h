#pragma once
// ApiBanco: the server's group database (root\Config\prods\prods.db), which gathers companies into
// groups and records, per card network, whether groups are enabled and each group's establishment
// code. The module only reads it. Every query answers false, and leaves its outputs alone, until
// InicializaVerificaBanco has succeeded; SQLite's errors ("<code>:<message>") reach the caller.
#include "db/MkSqLite3.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// The one connection, or none.
extern std::unique_ptr<TMkSqlite> db;
/// The database folder: the base given to InicializaVerificaBanco followed by "\prods\".
extern std::string PathDB;
/// True from a successful InicializaVerificaBanco until FinalizaBanco.
extern bool PodeUsarBanco;

/// Opens Base\prods\prods.db in place of any earlier connection and checks it: false (and nothing
/// said) when the SQLite library cannot be found or is older than 3.13.0.0, when the file is missing,
/// or when its patch level is below 13. Throws when opening, a pragma or reading the patch level fails.
bool InicializaVerificaBanco(const std::string& Base);
/// Closes the connection; harmless when there is none.
void FinalizaBanco() noexcept;

/// True when GRUPO_IF_HAB has a row for the network and its Hab is 1.
bool GrupoHabilitado(std::int32_t Rede);
/// Appends every group code; true when there was at least one.
bool RetornaGrupos(std::vector<std::string>& Lista);
/// True when a group has this code.
bool ExisteGrupo(const std::string& Grupo);

/// The group of a company.
bool RetornaGrupo(const std::string& Empresa, std::string& Grupo);
/// Appends the companies of a group in ascending order; true when there was at least one.
bool RetornaEmpresas(const std::string& Grupo, std::vector<std::string>& Lista);
/// The integer key of a group. Does not look at PodeUsarBanco (its callers do).
bool SelecionaIDGrupo(const std::string& Grupo, std::int32_t& RowId);
/// True when some group holds this establishment code for the network.
bool ExisteCodigoEstabGrupo(std::int32_t Rede, const std::string& Estabelecimento);
/// True when some group's code for the network has Estabelecimento at Inicio (1-based), Tamanho long.
bool ExisteCodigoGrupo(std::int32_t Rede, const std::string& Estabelecimento, std::int32_t Inicio,
                       std::int32_t Tamanho);
/// The same, counting only groups other than Grupo.
bool ExisteEstabGrupo(std::int32_t Rede, const std::string& Estabelecimento, std::int32_t Inicio,
                      std::int32_t Tamanho, const std::string& Grupo);
/// True when a group other than Grupo holds this establishment code for the network.
bool ExisteEstabSemGrupo(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento);
/// The group's lowest establishment code for the network.
bool RetornaEstabelecimento(std::int32_t Rede, const std::string& Grupo, std::string& Estabelecimento);
/// The group's first establishment code for the network, in the order the database returns them.
bool RetornaEstabGrupo(const std::string& Grupo, std::int32_t Rede, std::string& Estabelecimento);
/// Records the group's establishment code for the network; false without such a group.
bool InsereEstabelecimento(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento);
/// Replaces the group's establishment code for the network; true once the update ran, whether or not
/// a row changed; false without such a group.
bool AtualizaEstabelecimento(std::int32_t Rede, const std::string& Grupo, const std::string& Estabelecimento);
/// Removes the group's establishment code; true when a row was deleted.
bool RemoveEstabelecimento(const std::string& Grupo, const std::string& Estabelecimento);
/// True exactly for 125.
bool TratamentoPorBandeira(std::int32_t Codigo) noexcept;
