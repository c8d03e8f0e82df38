#include "config/Lib.h"

#include "platform/Ascii.h"
#include "platform/FileVersion.h"
#include "platform/Files.h"
#include "runtime/IniFiles.h"

#include <algorithm>

namespace {

std::string Barras(std::string Texto)
{
    std::replace(Texto.begin(), Texto.end(), '/', '\\');
    return Texto;
}

std::string LeIni(const std::string& Arquivo, const char* Secao, const char* Chave, const char* Padrao)
{
    return TIniFile(Arquivo).ReadString(Secao, Chave, Padrao);
}

bool TeclaDeControle(char Key)
{
    return Key == 8 || Key == 9 || Key == 10 || Key == 13 || Key == 27;
}

} // namespace

bool CodigoEmpresaValido(std::string_view Codigo) noexcept
{
    return Codigo.size() == 8 && std::all_of(Codigo.begin(), Codigo.end(), LetraOuDigitoAscii);
}

std::string LerRaizPathKovan(const std::string& CaminhoExecutavel) noexcept
{
    try {
        const std::size_t Barra = CaminhoExecutavel.find_last_of("/\\");
        const std::string Diretorio = Barra == std::string::npos ? "" : CaminhoExecutavel.substr(0, Barra + 1);
        return Barras(LeIni(Barras(Diretorio + "CfKovan.ini"), "config", "raiz", "\\Kovan"));
    } catch (...) {
        return "\\Kovan";
    }
}

bool KovanMultiEmpresa(const std::string& Raiz) noexcept
{
    try {
        std::string Tipo = Apara(LeIni(Barras(Raiz + "\\config\\KovanCfg.ini"), "config", "TipoConfKovan", ""));
        if (Tipo.empty())
            Tipo = "monoempresa";
        return MaiusculasAscii(Tipo) == "MULTIEMPRESA";
    } catch (...) {
        return false;
    }
}

bool PermiteDuplicidadeEstabelecimento(const std::string& Raiz) noexcept
{
    try {
        std::string Valor = LeIni(Barras(Raiz + "\\config\\" + "KovanCfg.ini"), "config", "PermiteDuplEstab", "");
        if (Apara(Valor).empty())
            Valor = "NAO";
        else if (MaiusculasAscii(Valor) == "SIM" &&
                 LeIni(Barras(Raiz + "\\config\\" + "ConfLog.ini"), "log", "TipoLog", "") == "3")
            Valor = "NAO";
        return MaiusculasAscii(Valor) == "SIM";
    } catch (...) {
        return false;
    }
}

bool ExisteEmpresa(const std::string& Raiz, const std::string& Empresa) noexcept
{
    try {
        return CodigoEmpresaValido(Empresa) && FileExists(Raiz + "\\config\\" + Empresa + ".cnf");
    } catch (...) {
        return false;
    }
}

std::int32_t LerEmpresas(const std::string& Raiz, std::vector<std::string>& Lista) noexcept
{
    try {
        Lista.clear();
        const std::string Diretorio = CaminhoLocal(Barras(Raiz + "\\config\\"));
        std::vector<TEntradaDiretorio> Entradas;
        if (!ListaDiretorio(Diretorio, "*.cnf", Entradas))
            return 0;
        for (const TEntradaDiretorio& Entrada : Entradas) {
            if (Entrada.Diretorio || Entrada.Nome.size() != 12)
                continue;
            const std::string Codigo = Entrada.Nome.substr(0, 8);
            if (MaiusculasAscii(Entrada.Nome.substr(8)) != ".CNF" || !CodigoEmpresaValido(Codigo))
                continue;
            char Marca[2];
            const int Lidos = LeBytesIniciais(Diretorio + Entrada.Nome, Marca, 2);
            if (Lidos < 0)
                return 0;
            if (Lidos == 2 && Marca[0] == '\x10' && Marca[1] == '\x01')
                Lista.push_back(MaiusculasAscii(Codigo));
        }
        return static_cast<std::int32_t>(Lista.size());
    } catch (...) {
        return 0;
    }
}

char SomenteNumeros(char& Key) noexcept
{
    if (!TeclaDeControle(Key) && !(Key >= '0' && Key <= '9'))
        Key = 0;
    return Key;
}

char SomenteLetrasNumeros(char& Key) noexcept
{
    if (!TeclaDeControle(Key) && !LetraOuDigitoAscii(Key))
        Key = 0;
    return Key;
}

std::string Corta255(std::string_view Texto)
{
    return std::string(Texto.substr(0, 255));
}

std::string VerificaStr(const std::string& Texto)
{
    return Texto.substr(0, Texto.find('\0'));
}

std::string RightString(const std::string& Texto, std::int32_t Quantidade)
{
    if (Quantidade <= 0)
        return {};
    const auto N = static_cast<std::size_t>(Quantidade);
    return Texto.size() <= N ? Texto : Texto.substr(Texto.size() - N);
}

std::string GetVersion(const std::string& Caminho) noexcept
{
    try {
        std::array<std::uint16_t, 4> Partes;
        if (!VersaoDoArquivo(Caminho, Partes))
            return {};
        return std::to_string(Partes[0]) + '.' + std::to_string(Partes[1]) + '.' + std::to_string(Partes[2]) + '.' +
               std::to_string(Partes[3]);
    } catch (...) {
        return {};
    }
}

bool ComparaVersaoMinima(const std::string& Minima, const std::string& Atual) noexcept
{
    auto Partes = [](const std::string& Versao) {
        std::array<unsigned long, 4> Numeros{};
        std::size_t Inicio = 0;
        for (std::size_t I = 0; I < 4 && Inicio <= Versao.size(); ++I) {
            std::size_t Fim = Versao.find('.', Inicio);
            if (Fim == std::string::npos)
                Fim = Versao.size();
            unsigned long Valor = 0;
            for (std::size_t K = Inicio; K < Fim && Versao[K] >= '0' && Versao[K] <= '9'; ++K)
                Valor = Valor * 10 + static_cast<unsigned long>(Versao[K] - '0');
            Numeros[I] = Valor;
            Inicio = Fim + 1;
        }
        return Numeros;
    };
    try {
        const auto A = Partes(Minima), B = Partes(Atual);
        for (std::size_t I = 0; I < 4; ++I)
            if (A[I] != B[I])
                return B[I] > A[I];
        return true;
    } catch (...) {
        return false;
    }
}

bool VerPrivilegio(std::uint16_t Acao, std::uint16_t Nivel) noexcept
{
    if (Acao != 0 && Nivel == 2)
        return false;
    if (Acao == 1 && Nivel == 4)
        return false;
    return true;
}
