#include "config/Kovan_INI.h"

#include "config/Lib.h"
#include "platform/Ascii.h"
#include "platform/EventLogger.h"
#include "platform/Files.h"
#include "platform/PrivateProfile.h"
#include "runtime/IniFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

bool ArquivoGeral(const std::string& Empresa)
{
    return Empresa.empty() || Empresa[0] == '*';
}

// A company's directory is named by the first 8 characters of its code, and only 8 ASCII letters or
// digits may name one: "..", "/" or "\\" can never lead a write out of its directory.
bool DiretorioEmpresaValido(const std::string& Empresa)
{
    return CodigoEmpresaValido(std::string_view(Empresa).substr(0, 8));
}

std::string_view Ate255(std::string_view Texto)
{
    return Texto.substr(0, 255);
}

bool NomeArquivoValido(const std::string& Arquivo)
{
    return !Arquivo.empty() && Arquivo.find_first_of("/\\") == std::string::npos && Arquivo != "." && Arquivo != "..";
}

} // namespace

TKovanIni::TKovanIni(const std::string& Raiz, const std::string& Arquivo, const std::string& Empresa) noexcept
{
    try {
        FRaiz = Corta255(Raiz);
        FArquivo = Corta255(Arquivo);
        FEmpresa = Corta255(Empresa);
    } catch (...) {
    }
    FExistia = Existe();
}

TKovanIni::~TKovanIni()
{
    DescartaLote();
    // Only a change made through this object can have left the file empty since the constructor
    // looked; an object that only read skips the second look.
    if (Modificou)
        Existe();
}

bool TKovanIni::ArquivoSec(const std::string& Arquivo, const std::string& Empresa, const std::string& Secao,
                           std::string& Caminho, std::string& SecaoFinal) const noexcept
{
    try {
        Caminho.clear();
        SecaoFinal.clear();
        if (!NomeArquivoValido(Arquivo))
            return false;
        const bool Geral = ArquivoGeral(Empresa);
        if (Geral)
            Caminho = FRaiz + "\\config\\" + Arquivo + ".ini";
        else if (DiretorioEmpresaValido(Empresa))
            Caminho = FRaiz + "\\config\\empresas\\" + Empresa.substr(0, 8) + "\\" + Arquivo + ".ini";
        else
            return false;
        if (!Secao.empty()) {
            SecaoFinal = Secao;
            return true;
        }
        if (!Geral) {
            SecaoFinal = Empresa.substr(0, 8);
            return true;
        }
        return false;
    } catch (...) {
        return false;
    }
}

bool TKovanIni::Inicializa(const std::string& Empresa) noexcept
{
    try {
        const bool Geral = ArquivoGeral(Empresa);
        if (!Geral && !DiretorioEmpresaValido(Empresa))
            return false;
        std::vector<std::string> Niveis{FRaiz, FRaiz + "\\config"};
        if (!Geral) {
            Niveis.push_back(Niveis.back() + "\\empresas");
            Niveis.push_back(Niveis.back() + "\\" + Empresa.substr(0, 8));
        }
        // The common case, every level there, costs one look at the last level as spelled.
        if (DirectoryExists(Niveis.back()))
            return true;
        // Down from the deepest level that exists, each missing one is made; each is resolved once.
        struct stat St;
        const std::string Local = CaminhoLocal(Niveis.back());
        std::size_t Existente = Niveis.size() - 1;
        while (Existente > 0 && stat(CaminhoLocal(Niveis[Existente - 1]).c_str(), &St) != 0)
            --Existente;
        for (std::size_t I = Existente; I < Niveis.size(); ++I)
            CriaPastaLinux(I + 1 == Niveis.size() ? Local : CaminhoLocal(Niveis[I]));
        if (stat(Local.c_str(), &St) == 0)
            return S_ISDIR(St.st_mode);
        ForceDirectories(Niveis.back());
        return DirectoryExists(Niveis.back());
    } catch (...) {
        return false;
    }
}

std::int32_t TKovanIni::TamanhoArquivo(const std::string& Caminho) noexcept
{
    const std::int64_t Tamanho = TamanhoArquivoBytes(Caminho);
    return Tamanho < 0 ? 0 : static_cast<std::int32_t>(Tamanho);
}

bool TKovanIni::Existe(const std::string& Arquivo, const std::string& Empresa) noexcept
{
    std::string Caminho, Secao;
    ArquivoSec(Arquivo, Empresa, "", Caminho, Secao);
    if (Caminho.empty())
        return false;
    // The path is resolved once: a missing file has nothing to remove, and a missing folder is not
    // looked for again by each step of the removal.
    std::string Local;
    struct stat St;
    if (!CaminhoLocalExiste(Caminho, Local, St)) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
    } else if ((S_ISREG(St.st_mode) || (S_ISLNK(St.st_mode) && stat(Local.c_str(), &St) == 0 && S_ISREG(St.st_mode))) &&
               St.st_size > 0) {
        return true;
    }
    Remove(Arquivo, Empresa);
    return FileExists(Local);
}

bool TKovanIni::Existe(const std::string& Empresa) noexcept
{
    return Existe(FArquivo, Empresa);
}

bool TKovanIni::Existe() noexcept
{
    return Existe(FArquivo, FEmpresa);
}

bool TKovanIni::Remove(const std::string& Arquivo, const std::string& Empresa) noexcept
{
    std::string Caminho, Secao;
    ArquivoSec(Arquivo, Empresa, "", Caminho, Secao);
    if (Caminho.empty())
        return true;
    // Each step goes on when the one before failed; for a missing file they all fail quietly.
    std::uint32_t Atributos = GetFileAttributesA(Caminho);
    if (Atributos != INVALID_FILE_ATTRIBUTES) {
        Atributos &= ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA(Caminho, Atributos);
    }
    errno = 0;
    DeleteFileA(Caminho);
    const int Erro = errno;
    if (!FileExists(Caminho))
        return true;
    if (Atributos != INVALID_FILE_ATTRIBUTES)  // it was there and stays: say why, once
        RegistraFalhaArquivo(CaminhoLocal(Caminho), "removal of the file", Erro);
    return false;
}

bool TKovanIni::Remove(const std::string& Empresa) noexcept
{
    return Remove(FArquivo, Empresa);
}

bool TKovanIni::Remove() noexcept
{
    return Remove(FArquivo, FEmpresa);
}

bool TKovanIni::IniciaLote() noexcept
{
    try {
        if (Lote)
            return true;
        std::string SecaoFinal;
        ArquivoSec(FArquivo, FEmpresa, "", CaminhoLote, SecaoFinal);
        if (CaminhoLote.empty())
            return false;
        Lote = std::make_unique<TPerfilEmLote>(CaminhoLote);
        DiretoriosDoLote = false;
        return true;
    } catch (...) {
        Lote.reset();
        return false;
    }
}

bool TKovanIni::ConfirmaLote() noexcept
{
    if (!Lote)
        return true;
    bool Ok = false;
    try {
        Ok = Lote->Confirma();
    } catch (...) {
    }
    Lote.reset();
    return Ok;
}

void TKovanIni::DescartaLote() noexcept
{
    Lote.reset();
}

bool TKovanIni::InicializaUmaVez() noexcept
{
    if (!Lote)
        return Inicializa(FEmpresa);
    if (!DiretoriosDoLote)
        DiretoriosDoLote = Inicializa(FEmpresa);
    return DiretoriosDoLote;
}

TIniFile TKovanIni::IniDoArquivo(const std::string& Caminho) const
{
    return Lote ? TIniFile(Caminho, *Lote) : TIniFile(Caminho);
}

bool TKovanIni::Grava(std::string_view Secao, std::string_view Chave, std::string_view Valor, bool Minusc) noexcept
{
    if (!InicializaUmaVez())
        return false;
    if (Lote)
        return GravaNoLote(Secao, Chave, Valor, Minusc);
    std::string Caminho, SecaoFinal;
    try {
        if (!ArquivoSec(FArquivo, FEmpresa, std::string(Secao), Caminho, SecaoFinal))
            return false;
        Modificou = true;
        TIniFile Ini(Caminho);
        if (Minusc)
            Ini.WriteString(MinusculasAscii(SecaoFinal), MinusculasAscii(std::string(Chave)), std::string(Valor));
        else
            Ini.WriteString(SecaoFinal, std::string(Chave), std::string(Valor));
    } catch (...) {
        // A failed write is not reported; the answer below still tells whether the file is there.
    }
    return !Caminho.empty() && FileExists(Caminho);
}

bool TKovanIni::GravaNoLote(std::string_view Secao, std::string_view Chave, std::string_view Valor, bool Minusc) noexcept
{
    // The section as ArquivoSec works it out; the batch's file is the object's own.
    if (Secao.empty()) {
        if (ArquivoGeral(FEmpresa))
            return false;
        Secao = std::string_view(FEmpresa).substr(0, 8);
    }
    Modificou = true;
    try {
        std::string S(Secao), C(Chave);
        if (Minusc)
            S = MinusculasAscii(std::move(S)), C = MinusculasAscii(std::move(C));
        return Lote->Grava(S.c_str(), C.c_str(), std::string(Valor).c_str());
    } catch (...) {
        return false;
    }
}

bool TKovanIni::GravaVar(std::string_view Secao, std::string_view Chave, std::string_view Valor) noexcept
{
    return Grava(Ate255(Secao), Ate255(Chave), Ate255(Valor), true);
}

bool TKovanIni::GravaVar(std::string_view Secao, std::string_view Chave, PChar Valor) noexcept
{
    return Grava(Ate255(Secao), Ate255(Chave), Valor.Texto ? Valor.Texto : "", false);
}

bool TKovanIni::GravaInt(const std::string& Secao, const std::string& Chave, std::int32_t Valor) noexcept
{
    char Texto[16];
    const int N = std::snprintf(Texto, sizeof Texto, "%d", static_cast<int>(Valor));
    return Grava(Ate255(Secao), Ate255(Chave), std::string_view(Texto, static_cast<std::size_t>(N)), true);
}

bool TKovanIni::GravaBool(const std::string& Secao, const std::string& Chave, bool Valor) noexcept
{
    return GravaInt(Secao, Chave, Valor ? 1 : 0);
}

std::string TKovanIni::LeVar(const std::string& Secao, const std::string& Chave, const std::string& Padrao) const noexcept
{
    try {
        if (Lote) {  // the batch's file is the object's own: only the section can be missing
            if (Secao.empty() && ArquivoGeral(FEmpresa))
                return {};
            return Lote->Le(Ate255(Secao), Ate255(Chave), Ate255(Padrao), 2048);
        }
        std::string Caminho, SecaoFinal;
        if (!ArquivoSec(FArquivo, FEmpresa, Secao, Caminho, SecaoFinal))
            return {};
        char Buffer[2048];
        const std::uint32_t Lidos = GetPrivateProfileStringA(Corta255(Secao).c_str(), Corta255(Chave).c_str(),
                                                             Corta255(Padrao).c_str(), Buffer, sizeof Buffer,
                                                             Caminho.c_str());
        return std::string(Buffer, Lidos);
    } catch (...) {
        return {};
    }
}

std::int32_t TKovanIni::LeInt(const std::string& Secao, const std::string& Chave, std::int32_t Padrao) const noexcept
{
    try {
        std::string Caminho, SecaoFinal;
        if (!ArquivoSec(FArquivo, FEmpresa, Secao, Caminho, SecaoFinal))
            return Padrao;
        return IniDoArquivo(Caminho).ReadInteger(SecaoFinal, Corta255(Chave), Padrao);
    } catch (...) {
        return Padrao;
    }
}

bool TKovanIni::LeBool(const std::string& Secao, const std::string& Chave, bool Padrao) const noexcept
{
    return LeInt(Secao, Chave, Padrao ? 1 : 0) != 0;
}

int TKovanIni::LeVars(const std::string& Secao, std::vector<std::string>& Lista) const noexcept
{
    try {
        Lista.clear();
        std::string Caminho, SecaoFinal;
        if (ArquivoSec(FArquivo, FEmpresa, Secao, Caminho, SecaoFinal))
            IniDoArquivo(Caminho).ReadSectionValues(SecaoFinal, Lista);
        return static_cast<int>(Lista.size());
    } catch (...) {
        return static_cast<int>(Lista.size());
    }
}

int TKovanIni::LeSecs(std::vector<std::string>& Lista) const noexcept
{
    try {
        Lista.clear();
        std::string Caminho, SecaoFinal;
        ArquivoSec(FArquivo, FEmpresa, "", Caminho, SecaoFinal);
        if (!Caminho.empty())
            IniDoArquivo(Caminho).ReadSections(Lista);
        return static_cast<int>(Lista.size());
    } catch (...) {
        return static_cast<int>(Lista.size());
    }
}

bool TKovanIni::ExisteSetor(const std::string& Secao) noexcept
{
    try {
        InicializaUmaVez();
        std::string Caminho, SecaoFinal;
        if (!ArquivoSec(FArquivo, FEmpresa, Corta255(Secao), Caminho, SecaoFinal))
            return false;
        std::vector<std::string> Chaves;
        IniDoArquivo(Caminho).ReadSection(SecaoFinal, Chaves);
        return !Chaves.empty();
    } catch (...) {
        return false;
    }
}

bool TKovanIni::RemoveSec(const std::string& Secao) noexcept
{
    std::string Caminho, SecaoFinal;
    try {
        if (!ArquivoSec(FArquivo, FEmpresa, Corta255(Secao), Caminho, SecaoFinal))
            return false;
        Modificou = true;
        if (Lote || FileExists(Caminho))  // erasing from a missing file must not create it
            IniDoArquivo(Caminho).EraseSection(SecaoFinal);
    } catch (...) {
    }
    return true;
}

bool TKovanIni::RemoveVar(const std::string& Secao, const std::string& Chave) noexcept
{
    std::string Caminho, SecaoFinal;
    try {
        if (!ArquivoSec(FArquivo, FEmpresa, Corta255(Secao), Caminho, SecaoFinal))
            return false;
        Modificou = true;
        if (Lote || FileExists(Caminho))
            IniDoArquivo(Caminho).DeleteKey(SecaoFinal, Corta255(Chave));
    } catch (...) {
    }
    return true;
}
