#pragma once
// The company list through a cache. A screen re-reads the list on every key typed into its company
// box; at 10,000 companies one read of the folder costs tens of milliseconds. The cache keeps the last
// list read and drops it as soon as anything in the config folder changes (a company file added,
// removed, renamed, written or its attributes changed, or the folder itself moved, removed or
// replaced), so it always answers what a fresh read would.
#include <cstdint>
#include <string>
#include <vector>

/// LerEmpresas(Raiz, Lista) with the same answers: the list read last time while the config folder of
/// Raiz has not changed since, a fresh read otherwise. Without a watch on the folder (it does not
/// exist, or the system refuses one), every call reads.
std::int32_t LerEmpresasCache(const std::string& Raiz, std::vector<std::string>& Lista) noexcept;

/// Forgets the list and closes the watch (also done when the module is unloaded).
void DescartaCacheEmpresas() noexcept;
