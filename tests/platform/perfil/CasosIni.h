#pragma once
// What the tests of the private-profile engine share: the recorded cases (one per file in
// $KOVAN_INI_CASES, read at run time), reading a file or a batch whole, and a batch set against the
// same calls made one at a time.
#include "platform/PrivateProfile.h"

#include "platform/Ascii.h"
#include "RaizTeste.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace casos_ini {

namespace fs = std::filesystem;
using nlohmann::json;
using TTalvez = std::optional<std::string>;
using testing::PrintToString;

/// A recorded file: null (no file) or base64.
inline TTalvez ArquivoGravado(const json& Campo)
{
    return Campo.is_null() ? std::nullopt
                           : TTalvez(QByteArray::fromBase64(QByteArray::fromStdString(Campo.get<std::string>())).toStdString());
}

/// A case argument: null, or escaped text (\r \n \t \0 \\ \xHH).
inline TTalvez Argumento(const json& Op, const char* Campo)
{
    if (!Op.contains(Campo) || !Op[Campo].is_string())
        return std::nullopt;
    const std::string E = Op[Campo].get<std::string>();
    std::string S;
    for (std::size_t I = 0; I < E.size(); ++I) {
        if (E[I] != '\\' || I + 1 >= E.size()) {
            S += E[I];
        } else if (E[++I] == 'x' && I + 2 < E.size()) {
            S += static_cast<char>(std::stoi(E.substr(I + 1, 2), nullptr, 16));
            I += 2;
        } else {
            S += E[I] == 'r' ? '\r' : E[I] == 'n' ? '\n' : E[I] == 't' ? '\t' : E[I] == '0' ? '\0' : E[I];
        }
    }
    return S;
}

inline const char* Ptr(const TTalvez& S) { return S ? S->c_str() : nullptr; }

inline TTalvez LeArquivo(const fs::path& P) { return fs::exists(P) ? TTalvez(TRaizTeste::Le(P)) : std::nullopt; }

/// The files beside Teste.ini in Pasta: temporaries and whatever else a write left there.
inline std::set<std::string> SobrasAoLado(const fs::path& Pasta)
{
    std::set<std::string> N;
    for (const fs::directory_entry& E : fs::directory_iterator(Pasta))
        N.insert(E.path().filename().string());
    N.erase("Teste.ini");
    return N;
}

/// Latin-1 text as a UTF-16LE file, with its byte order mark.
inline std::string Utf16(std::string_view Latin1)
{
    std::string S = "\xFF\xFE";
    for (char C : Latin1)
        S += {C, '\0'};
    return S;
}

inline bool TemQuebraDeLinha(const TTalvez& S) { return S && S->find_first_of("\r\n") != std::string::npos; }

/// Lines of a file: content and line ending (CR LF, LF or CR), as the engine splits them.
struct TLinhaTeste {
    std::string Conteudo, Quebra;
};

inline std::vector<TLinhaTeste> Linhas(std::string_view D)
{
    std::vector<TLinhaTeste> L;
    if (D.substr(0, 3) == "\xEF\xBB\xBF")
        D.remove_prefix(3);
    for (std::size_t I = 0; I < D.size();) {
        const std::size_t F = std::min(D.find_first_of("\r\n", I), D.size());
        const std::size_t Q = F == D.size() ? 0 : (D[F] == '\r' && F + 1 < D.size() && D[F + 1] == '\n') ? 2 : 1;
        L.push_back({std::string(D.substr(I, F - I)), std::string(D.substr(F, Q))});
        I = F + Q;
    }
    return L;
}

/// A line as the reference writes it back: "[name]", "key=value", or the trimmed text.
inline std::string Normaliza(std::string_view Conteudo)
{
    const std::string_view T = AparaBrancos(Conteudo.substr(0, Conteudo.find('\0')));
    const std::size_t Fecha = T.rfind(']'), Igual = T.find('=');
    if (!T.empty() && T[0] == '[' && Fecha != std::string::npos && Fecha > 0)
        return "[" + std::string(AparaBrancos(T.substr(1, Fecha - 1))) + "]";
    if (Igual != std::string::npos)
        return std::string(AparaBrancos(T.substr(0, Igual))) + "=" + std::string(AparaBrancos(T.substr(Igual + 1)));
    return std::string(T);
}

/// A file read through the single calls, with the reading interface of a batch.
struct TArquivoLido {
    std::string Arquivo;
    mutable std::vector<char> B = std::vector<char>(1 << 18);

    std::vector<std::string> Nomes(std::uint32_t Tamanho) const
    {
        std::vector<std::string> N;
        for (std::size_t I = 0; I < Tamanho; I += N.back().size() + 1)
            N.emplace_back(B.data() + I);
        return N;
    }
    auto Secoes() const { return Nomes(GetPrivateProfileSectionNamesA(B.data(), B.size(), Arquivo.c_str())); }
    std::vector<std::string> Chaves(const std::string& S) const
    {
        return Nomes(GetPrivateProfileStringA(S.c_str(), nullptr, "", B.data(), B.size(), Arquivo.c_str()));
    }
    std::string Le(const std::string& S, const std::string& K, const char* Padrao, std::uint32_t Tamanho) const
    {
        return std::string(B.data(), GetPrivateProfileStringA(S.c_str(), K.c_str(), Padrao, B.data(), Tamanho, Arquivo.c_str()));
    }
    auto ValoresDaSecao(const char* S, std::uint32_t T) const { return LeValoresDaSecao(S, T, Arquivo.c_str()); }
};

/// Every section listing, key listing and value of a file or a batch, as our reads see them; the values
/// of a section (or of one no file has) read in one pass must be those read one key at a time.
template <class TFonte>
inline std::string Leitura(const TFonte& F)
{
    std::vector<std::string> S = F.Secoes();
    std::string R = "sections:";
    for (const std::string& N : S)
        R += N + '\0';
    S.insert(S.begin(), {"", "Falta"});
    for (const std::string& Secao : S) {
        std::vector<std::pair<std::string, std::string>> Valores;
        R += "\n[" + Secao + "] keys:";
        for (const std::string& K : F.Chaves(Secao)) {
            R += K + '\0';
            Valores.emplace_back(K, F.Le(Secao, K, "", 2048));
        }
        EXPECT_EQ(F.ValoresDaSecao(Secao.c_str(), 2048), Valores) << "[" << Secao << "] in one pass";
        for (const auto& [K, V] : Valores)
            R += "\n  " + K + "=" + F.Le(Secao, K, "\x01missing", 1 << 18);
    }
    return R;
}

inline std::vector<std::string> CasosGravados()
{
    std::vector<std::string> Casos;
    std::error_code Erro;
    if (const char* Pasta = std::getenv("KOVAN_INI_CASES"))
        for (const fs::directory_entry& E : fs::directory_iterator(Pasta, Erro))
            if (E.path().extension() == ".json")
                Casos.push_back(E.path().string());
    std::sort(Casos.begin(), Casos.end());
    return Casos;
}

// A batch (TPerfilEmLote) against the same calls made one at a time

/// A write: Valor null deletes the key, Chave null the section.
struct TEscrita {
    TTalvez Secao, Chave, Valor;
};

/// Makes Escritas on a copy of Inicial one call each and as batches (a new one after each position in
/// Cortes): both must read the same after every write and leave the same bytes (a refused write: none).
inline void ComparaComUmaAUma(const fs::path& Pasta, const TTalvez& Inicial, const std::vector<TEscrita>& Escritas,
                       const std::vector<std::size_t>& Cortes = {})
{
    const fs::path Uma = Pasta / "uma.ini", Arquivo = Pasta / "lote.ini";
    for (const fs::path& P : {Uma, Arquivo}) {
        fs::remove(P);
        if (Inicial)
            TRaizTeste::Grava(P, *Inicial);
    }
    const auto LeUma = [&] { return Leitura(TArquivoLido{Uma.string()}); };
    std::size_t Proxima = 0;
    for (std::size_t Lote = 0; Lote <= Cortes.size(); ++Lote) {
        const std::size_t Fim = Lote < Cortes.size() ? Cortes[Lote] : Escritas.size();
        const TTalvez Antes = LeArquivo(Arquivo);
        TPerfilEmLote L(Arquivo.string());
        ASSERT_EQ(Leitura(L), LeUma()) << "batch " << Lote;
        bool Recusada = false;
        for (; Proxima < Fim; ++Proxima) {
            const TEscrita& E = Escritas[Proxima];
            SCOPED_TRACE(PrintToString(E.Secao) + " " + PrintToString(E.Chave) + " = " + PrintToString(E.Valor));
            const int Ret = WritePrivateProfileStringA(Ptr(E.Secao), Ptr(E.Chave), Ptr(E.Valor), Uma.c_str());
            EXPECT_EQ(L.Grava(Ptr(E.Secao), Ptr(E.Chave), Ptr(E.Valor)), Ret != 0);
            Recusada = Recusada || Ret == 0;
            ASSERT_EQ(Leitura(L), LeUma()) << "file: " << PrintToString(LeArquivo(Uma));
        }
        EXPECT_EQ(LeArquivo(Arquivo), Antes) << "nothing reaches the file before Confirma";
        EXPECT_EQ(L.Confirma(), !Recusada);
        EXPECT_EQ(LeArquivo(Arquivo), Recusada ? Antes : LeArquivo(Uma));
        EXPECT_EQ(L.Pendentes(), 0u);
    }
}

} // namespace casos_ini
