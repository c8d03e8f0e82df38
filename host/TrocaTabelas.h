#pragma once
// The BIN tables and the enabled transactions of many companies moved through files, with the rules
// and the audit of the screens (config/TabelaBins, config/TransHab). Files are CP1252 text, one
// record per line, fields separated by ";" (host/Planilha.h):
//
//   BIN tables     company;table;name;bins;pin     table "debito" or "combustivel"; company "Todas"
//                                                  for the general file; bins the row's entries
//                                                  separated by spaces; pin 1 or 0. A line with
//                                                  name, bins and pin empty names a table without rows.
//   transactions   company;vista;parcelado;cancelamento;parcelas    each flag 1 or 0
//
// An import is read and checked whole first: every line that breaks a rule is reported as
// "FILE:LINE: reason" and then nothing is written.
#include "config/TabelaBins.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

struct TContextoTroca {
    std::string Raiz;
    std::vector<std::string> Empresas;  ///< the server's companies
    bool Utf8 = false;                  ///< what goes to the report is converted to UTF-8
    bool Simulacao = false;             ///< say what would change, write nothing
    /// Where the audit entries of a company's change go ("" the general file).
    std::function<TAuditoria(const std::string& Empresa)> Auditoria;
    TTitulosBins Titulos;
    /// What a failed write of a company's file adds to its line: the user and the file or folder the
    /// file system refuses that user ("; user nobody may not write ..."), or nothing.
    std::function<std::string(const std::string& Empresa)> Recusa = [](const std::string&) { return std::string(); };
};

/// Writes the rows of the files of Quais ("" the general file) that hold BIN tables; answers the
/// count of lines.
std::size_t ExportaBins(const TContextoTroca& C, const std::vector<std::string>& Quais, std::ostream& Saida);
/// Imports BIN tables: each table a line names replaces that table of that company (only those).
/// Answers the exit status: 0 done, 2 a refused file or a company whose file could not be written.
int ImportaBins(const TContextoTroca& C, std::istream& Entrada, const std::string& Nome, std::ostream& Relato);

/// Writes the line of each company of Quais whose transactions are configured; answers the count.
std::size_t ExportaTransHab(const TContextoTroca& C, const std::vector<std::string>& Quais, std::ostream& Saida);
/// Imports enabled transactions: each line replaces the four values of its company.
int ImportaTransHab(const TContextoTroca& C, std::istream& Entrada, const std::string& Nome, std::ostream& Relato);
