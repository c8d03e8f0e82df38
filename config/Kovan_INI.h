#pragma once
// Kovan_INI: the module's settings file of one company (or the general one). Every read and write of
// those files goes through here; nothing here throws or reports a failure by message.
#include <cstdint>
#include <functional>  // users of this header have relied on it
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;
class TPerfilEmLote;

/// A value of any length for GravaVar: written with section and key as given, not lower-cased.
struct PChar {
    const char* Texto;
};

/// One user action's reads and writes of the file go, between IniciaLote and ConfirmaLote, through
/// one parse and one atomic replace:
///
///     TKovanIni Ini(Raiz, "Mirabelo", Empresa);
///     Ini.IniciaLote();
///     Ini.RemoveSec("Debito_03");                     // any mix of writes, erases and reads
///     Ini.GravaVar("TabBins", "TotDeb", "2");
///     if (!Ini.ConfirmaLote()) ...                    // nothing of them reached the file
///
/// Inside a batch, reads answer from the file as read at IniciaLote with the batch's writes applied,
/// exactly as reading the file after each write would answer; the file itself changes only at
/// ConfirmaLote, all at once (a crash leaves the old file or the new one, never a mix). An object
/// destroyed, or a batch dropped with DescartaLote, before ConfirmaLote leaves the file as it was:
/// the batch's writes are lost on purpose, so an action that stops halfway writes nothing.
class TKovanIni {
public:
    /// Binds the object to root\config\empresas\<first 8 of Empresa>\<Arquivo>.ini, or to
    /// root\config\<Arquivo>.ini when Empresa is empty or begins with "*". An empty file found there is
    /// deleted. Every argument is cut to 255 characters.
    TKovanIni(const std::string& Raiz, const std::string& Arquivo, const std::string& Empresa) noexcept;
    /// Deletes the file when a change made through this object left it empty.
    ~TKovanIni();

    TKovanIni(const TKovanIni&) = delete;
    TKovanIni& operator=(const TKovanIni&) = delete;

    /// Removes the file when it is empty or missing, then answers whether it exists.
    bool Existe() noexcept;
    bool Existe(const std::string& Empresa) noexcept;
    bool Existe(const std::string& Arquivo, const std::string& Empresa) noexcept;
    /// What Existe() answered when this object was made (the constructor asks it).
    bool ExistiaAoCriar() const noexcept { return FExistia; }

    /// Deletes the file, read-only or not; true when it is gone afterwards.
    bool Remove() noexcept;
    bool Remove(const std::string& Empresa) noexcept;
    bool Remove(const std::string& Arquivo, const std::string& Empresa) noexcept;

    /// Writes Valor (cut to 255) under the lower-cased section and key, creating the directories and
    /// the file. False when the directories cannot be made or no section can be worked out; otherwise
    /// whether the file exists afterwards (a write that failed on an existing file answers true).
    /// Inside a batch: true once the write is taken into it (ConfirmaLote tells whether it reached the file).
    bool GravaVar(std::string_view Secao, std::string_view Chave, std::string_view Valor) noexcept;
    /// The same for a value of any length, with section and key written as given.
    bool GravaVar(std::string_view Secao, std::string_view Chave, PChar Valor) noexcept;
    bool GravaInt(const std::string& Secao, const std::string& Chave, std::int32_t Valor) noexcept;
    /// Written as "1" or "0".
    bool GravaBool(const std::string& Secao, const std::string& Chave, bool Valor) noexcept;

    /// Value of Secao/Chave (at most 2047 characters), or Padrao when the file, section or key is
    /// missing. Creates nothing.
    std::string LeVar(const std::string& Secao, const std::string& Chave, const std::string& Padrao) const noexcept;
    /// Padrao when missing or not a number.
    std::int32_t LeInt(const std::string& Secao, const std::string& Chave, std::int32_t Padrao) const noexcept;
    /// Any nonzero number is true; Padrao when missing or not a number.
    bool LeBool(const std::string& Secao, const std::string& Chave, bool Padrao) const noexcept;
    /// Fills Lista with the section's "key=value" lines; answers their count.
    int LeVars(const std::string& Secao, std::vector<std::string>& Lista) const noexcept;
    /// Fills Lista with the file's section names; answers their count.
    int LeSecs(std::vector<std::string>& Lista) const noexcept;

    /// Creates the directories, then answers whether the section holds at least one key.
    bool ExisteSetor(const std::string& Secao) noexcept;
    /// Erases the section with its keys; true once path and section were worked out, whether or not
    /// the erase succeeded. Creates nothing.
    bool RemoveSec(const std::string& Secao) noexcept;
    /// Deletes one key; true once path and section were worked out.
    bool RemoveVar(const std::string& Secao, const std::string& Chave) noexcept;

    /// Starts a batch on the object's own file (reading it once). False, and no batch, when the
    /// company code names no file; a batch already started goes on.
    bool IniciaLote() noexcept;
    /// Puts the batch's writes into the file in one replace under the file's lock and ends the batch.
    /// True when the file holds them all (or the batch wrote nothing, or there was none); false when
    /// none of them was written (a failure logged once at error level, as a failed single write is).
    bool ConfirmaLote() noexcept;
    /// Ends the batch, dropping its writes.
    void DescartaLote() noexcept;

    /// Path of the file for Arquivo/Empresa, and the section to use (Secao, or for a company file with
    /// no section the first 8 characters of the company code). False when no section can be worked out,
    /// and also, leaving Caminho empty, when the company code's first 8 characters are not 8 ASCII
    /// letters or digits: such a code never becomes a path component.
    bool ArquivoSec(const std::string& Arquivo, const std::string& Empresa, const std::string& Secao,
                    std::string& Caminho, std::string& SecaoFinal) const noexcept;
    /// Creates the directories a write to Empresa's file needs; true when the last of them exists.
    bool Inicializa(const std::string& Empresa) noexcept;
    /// Size of a file in bytes, 0 when it does not exist.
    static std::int32_t TamanhoArquivo(const std::string& Caminho) noexcept;

    const std::string& Raiz() const noexcept { return FRaiz; }
    const std::string& Arquivo() const noexcept { return FArquivo; }
    const std::string& Empresa() const noexcept { return FEmpresa; }

private:
    bool InicializaUmaVez() noexcept;
    /// The ini-file object for the file: inside a batch, over the batch.
    TIniFile IniDoArquivo(const std::string& Caminho) const;
    bool Grava(std::string_view Secao, std::string_view Chave, std::string_view Valor, bool Minusculas) noexcept;
    bool GravaNoLote(std::string_view Secao, std::string_view Chave, std::string_view Valor, bool Minusculas) noexcept;

    std::string FArquivo;
    std::string FEmpresa;
    std::string FRaiz;
    bool Modificou = false;
    bool FExistia = false;
    std::unique_ptr<TPerfilEmLote> Lote;
    std::string CaminhoLote;
    bool DiretoriosDoLote = false;  ///< Inicializa already succeeded for this batch
};
