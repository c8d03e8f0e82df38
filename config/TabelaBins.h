#pragma once
// TabelaBins: the debit and fuel BIN tables of a company (or of the general file) and their rules,
// apart from any screen: what a BIN entry and a row may be, when two entries overlap, the row sections
// of the module's ini file, and the audit text of a save or a delete. The "Tabela Bins" screen and
// cfkovan-dados load, check and save through here, so a table means the same to both.
//
// Stored format, in root\config\empresas\<company>\Mirabelo.ini (root\config\Mirabelo.ini for the
// general tables): [TabBins] TotDeb and TotComb, the row counts; [Debito_NN] and [Combustivel_NN],
// NN = 01 up to the count (two digits at least), each with Nome, Bins ("601234;60123456-60123499;")
// and Senha ("1" asks for a PIN; any other value does not).
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TKovanIni;

/// One row of a BIN table: a card.
struct TLinhaBins {
    std::string Nome;    ///< as typed
    std::string Bins;    ///< every entry followed by ";"
    bool Senha = false;  ///< the card asks for a PIN
    bool operator==(const TLinhaBins&) const = default;
};

/// The two tables of one file; indexed by TabelaDebito and TabelaCombustivel.
struct TTabelasBins {
    std::vector<TLinhaBins> Linhas[2];
    bool operator==(const TTabelasBins&) const = default;
};
inline constexpr int TabelaDebito = 0;
inline constexpr int TabelaCombustivel = 1;

/// The column titles the audit text names for an empty cell: the screen's grid titles (messages 246,
/// 247 and 206, which a site may translate). These are the untranslated ones.
struct TTitulosBins {
    std::string Nome = "Nome ";
    std::string Bins = "Bins";
    std::string Senha = "Senha";
};

/// Where the audit entries of a save or delete go, one call per entry, in order (the screens: their
/// TEvtLog; the tool: its own). Each is written before the change it records reaches the file.
using TAuditoria = std::function<void(const std::string& Texto)>;

/// Why a row is refused. Each has the screen's message where the screen has one (MensagemBins).
enum class TErroBins {
    TamanhoInvalido,  ///< an entry that is not 6 to 9 digits, or a range of two such
    SuperiorMenor,    ///< a range whose upper bound is below its lower one
    BinExistente,     ///< two entries of the row overlap (ComparaBin)
    ListaCheia,       ///< the list would be over 255 characters
    ListaMalFormada,  ///< a stored list with an empty entry or an entry without its closing ";"
    SemNome,          ///< an empty name, or one of only blanks
    NomeExistente,    ///< a name an earlier row of the table has (trimmed, without regard to case)
    NomeLongo,        ///< a name over 21 characters
    SemBin,           ///< a row without entries
};

struct TFalhaBins {
    std::size_t Linha;    ///< index of the row in its table, from 0
    TErroBins Erro;
    std::string Detalhe;  ///< the entry, entries or name at fault
};

namespace RegrasBins {

inline constexpr std::size_t MaximoLista = 255;
inline constexpr std::size_t MaximoNome = 21;

/// A BIN padded on the right with Digito up to 9 characters; 9 or more characters stay as they are.
std::string CompletaBin(const std::string& Bin, int Digito);
/// True when two entries (a BIN, or "lower-upper") overlap as closed intervals of their bounds padded
/// to 9 digits (the lower with 0, the upper with 9). A bound that is not a number counts as what its
/// leading digits say (0 when none).
bool ComparaBin(const std::string& Primeiro, const std::string& Segundo);
/// The screen's check of one typed entry: sizes first, then the order of a range's bounds. Only
/// digits are accepted (the screen's key filter lets no other character in).
std::optional<TErroBins> ValidaEntrada(std::string_view Entrada);
/// The entries of a list, split at each ";"; Completa false when an entry is empty or the last one
/// lacks its ";" (the screen would drop it and everything after it).
std::vector<std::string> EntradasDaLista(std::string_view Lista, bool* Completa = nullptr);
/// The list the screen stores for these entries: sorted as its grid sorts them (byte order), each
/// followed by ";".
std::string MontaLista(std::vector<std::string> Entradas);
/// Every rule of the screen the rows break, in row order (a row may break several).
std::vector<TFalhaBins> VerificaTabela(const std::vector<TLinhaBins>& Linhas);
/// The screen's message (CP1252) for a refusal; own words where the screen has none.
const std::string& Mensagem(TErroBins Erro);

/// A stored row count, or nothing when the text is not a decimal number (blanks around and a "+"
/// allowed).
std::optional<long long> LeQuantidade(std::string_view Texto);
/// The row section of row Numero: "Debito_01", "Combustivel_123".
std::string SecaoDaLinha(int Tabela, long long Numero);
/// The row number a section names for a table, or nothing when it is not one of its row sections
/// (prefix in any case, the number exactly as SecaoDaLinha writes it).
std::optional<long long> LinhaDaSecao(int Tabela, std::string_view Secao);
/// "TotDeb" or "TotComb".
const char* ChaveTotal(int Tabela);
/// "debito" or "combustivel": the table's name in the tool's files.
const char* NomeTabela(int Tabela);
/// The table's name as the screen shows it, CP1252: "Débito", "Combustível".
const std::string& NomeNaTela(int Tabela);

/// The audit line of a table's save (Operacao "INCLUSAO", any case) or of the deletion of the
/// tables (any other operation), byte for byte as the screen writes it.
std::string MontaLog(const std::string& Operacao, int Tabela, const std::vector<TLinhaBins>& Linhas,
                     const TTitulosBins& Titulos = {});

} // namespace RegrasBins

/// What loading found besides the rows.
struct TCargaBins {
    TTabelasBins Tabelas;
    bool Existe = false;               ///< the file existed (else both tables are empty)
    bool Guardadas = false;            ///< the file holds section TabBins or a row section
    std::string Total[2];              ///< the stored counts as read ("0" when missing)
    bool TotalInvalido[2] = {};        ///< not a number: that table was loaded empty
    bool TotalExcedente[2] = {};       ///< beyond the table's last row section: loaded up to that one
};

/// One company's tables for one action: the file read once when the object is made, the save (if any)
/// put into it in one replace. An importer that loads, compares and saves uses one such object, so
/// the file is looked up and read once; the screens' load and save are the two calls below.
class TArquivoBins {
public:
    TArquivoBins(const std::string& Raiz, const std::string& Empresa) noexcept;
    ~TArquivoBins();
    TArquivoBins(const TArquivoBins&) = delete;
    TArquivoBins& operator=(const TArquivoBins&) = delete;

    /// The tables as CarregaTabelasBins answers them.
    const TCargaBins& Carga() const noexcept { return FCarga; }
    /// As SalvaTabelasBins, on the file as read when the object was made.
    bool Salva(const TTabelasBins& Tabelas, const TAuditoria& Auditoria, const TTitulosBins& Titulos = {}) noexcept;

private:
    std::unique_ptr<TKovanIni> Ini;
    bool Lote = false;
    TCargaBins FCarga;
};

/// Loads both tables of Empresa's file ("" for the general one) in one read, as the screen loads its
/// grids: rows 1 to the stored count, each with Nome, Bins and Senha ("1" only is a PIN). A count that
/// is not a number loads the table empty; a count beyond the last row section of that table loads
/// the rows up to that section. Creates nothing.
TCargaBins CarregaTabelasBins(const std::string& Raiz, const std::string& Empresa) noexcept;

/// Saves both tables into Empresa's file as the screen's save does, in one batch and one replace:
/// the row sections from the new count up to the stored one removed, then per table its audit entry
/// (MontaLog "INCLUSAO"), its rows and its count. The entries are written before the file changes.
/// False, with nothing written and no entry, when the company code names no file; false when the
/// replace failed (logged at error level).
bool SalvaTabelasBins(const std::string& Raiz, const std::string& Empresa, const TTabelasBins& Tabelas,
                      const TAuditoria& Auditoria, const TTitulosBins& Titulos = {}) noexcept;

/// Deletes both tables as the screen's delete does: the two "EXCLUSAO" entries (debit first), then,
/// when the file exists, section TabBins and every row section of both tables, in one replace. True
/// when nothing of the tables is left in the file.
bool ApagaTabelasBins(const std::string& Raiz, const std::string& Empresa, const TAuditoria& Auditoria) noexcept;
