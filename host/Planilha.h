#pragma once
// The files of cfkovan-dados's BIN tables and transactions: one record per line, fields separated by
// ";" as a spreadsheet saves them in a Portuguese locale. A field holding ";" or a double quote, or
// starting or ending with a blank, is written between double quotes with each quote doubled, so every
// text comes back as it went.
#include <string>
#include <string_view>
#include <vector>

/// The fields joined into one line (without its line ending).
std::string MontaLinhaPlanilha(const std::vector<std::string>& Campos);
/// The fields of a line; false, with Erro saying why, for an unclosed quote or text after a closing one.
bool SeparaLinhaPlanilha(std::string_view Linha, std::vector<std::string>& Campos, std::string& Erro);
