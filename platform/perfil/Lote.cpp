// The batch: one parse of the file, the writes made on its model, one replace at the end.
#include "platform/PrivateProfile.h"

#include "platform/EventLogger.h"
#include "platform/perfil/Arquivo.h"
#include "platform/perfil/Modelo.h"
#include "platform/perfil/Regras.h"

using namespace perfil;

struct TPerfilEmLote::TDados {
    /// A write as it was given: Chave null deletes the section, Valor null the key.
    struct TEscrita {
        std::string Secao;
        std::optional<std::string> Chave, Valor;
    };

    std::string Arquivo;
    /// The decoded text of the file as read, or as the last confirm left it.
    std::string Lido;
    std::unique_ptr<TModelo> Modelo;
    std::vector<TEscrita> Escritas;
    bool Recusada = false;  ///< a refused write: the batch fails as a whole
    bool Cria = false;      ///< a write that creates a missing file

    /// The model of Texto, as read: no write pending.
    void Recomeca(std::string Texto)
    {
        Lido = std::move(Texto);
        Modelo = std::make_unique<TModelo>(Lido);
        Escritas.clear();
        Recusada = Cria = false;
    }
    /// Makes the write on the model, as WritePrivateProfileStringA makes it on the file.
    void Aplica(const TEscrita& E)
    {
        std::string Guarda;
        const char* Chave = E.Chave ? E.Chave->c_str() : nullptr;
        const char* Valor = Chave && E.Valor ? ValorComoReferencia(E.Valor->c_str(), Guarda) : nullptr;
        Cria = Cria || Valor;
        Modelo->Aplica(E.Secao.c_str(), Chave, Valor);
    }
    std::string Descricao() const
    {
        const TEscrita& E = Escritas.front();
        const std::string Primeira = DescreveOperacao(E.Secao.c_str(), E.Chave ? E.Chave->c_str() : nullptr,
                                                      E.Valor ? E.Valor->c_str() : nullptr);
        if (Escritas.size() == 1)
            return Primeira;
        return std::to_string(Escritas.size()) + " changes in one replace (" + Primeira + ", ...)";
    }
};

TPerfilEmLote::TPerfilEmLote(const std::string& Arquivo) : D(std::make_unique<TDados>())
{
    D->Arquivo = Arquivo;
    D->Recomeca(LeArquivo(Arquivo.c_str()).Texto);
}

TPerfilEmLote::~TPerfilEmLote() = default;

std::string TPerfilEmLote::Le(std::string_view Secao, std::string_view Chave, std::string_view Padrao,
                              std::uint32_t Tamanho) const
{
    if (Tamanho == 0)
        return {};
    const std::optional<std::string> Valor = D->Modelo->Valor(Secao, Chave);
    return std::string(EntradaCopiada(Valor ? *Valor : PadraoAparado(Padrao), Tamanho));
}

std::vector<std::string> TPerfilEmLote::Chaves(std::string_view Secao) const
{
    std::vector<std::string> Nomes = D->Modelo->Chaves(Secao);
    if (!Nomes.empty() && Nomes.front().empty())
        Nomes.clear();
    return Nomes;
}

std::vector<std::string> TPerfilEmLote::Secoes() const
{
    return D->Modelo->Secoes();
}

std::vector<std::pair<std::string, std::string>> TPerfilEmLote::ValoresDaSecao(const char* Secao, std::uint32_t Tamanho) const
{
    if (!Secao || Tamanho == 0)
        return {};
    std::vector<std::pair<std::string, std::string>> Valores = D->Modelo->Valores(Secao);
    if (!Valores.empty() && Valores.front().first.empty())
        Valores.clear();
    for (auto& [Nome, Valor] : Valores)
        Valor = std::string(EntradaCopiada(Valor, Tamanho));
    return Valores;
}

bool TPerfilEmLote::Grava(const char* Secao, const char* Chave, const char* Valor)
{
    const auto Texto = [](const char* T) { return T ? std::optional<std::string>(T) : std::nullopt; };
    TDados::TEscrita& E = D->Escritas.emplace_back(TDados::TEscrita{Secao ? Secao : "", Texto(Chave), Chave ? Texto(Valor) : std::nullopt});
    if (!Secao || TemQuebra(Secao) || TemQuebra(Chave) || TemQuebra(Valor)) {
        D->Recusada = true;
        return false;
    }
    D->Aplica(E);
    return true;
}

bool TPerfilEmLote::Confirma()
{
    if (D->Escritas.empty())
        return true;
    bool Ok = false;
    try {
        const std::string Operacao = D->Descricao();
        if (D->Recusada) {
            RegistraFalhaArquivo(D->Arquivo, Operacao, 0, "refused: a section, key or value holds a line break");
        } else {
            // The text the file holds afterwards: the one written, or its own when it held the result;
            // none when the file was missing and stays so.
            std::optional<std::string> Depois;
            Ok = Reescreve(D->Arquivo.c_str(), Operacao, D->Cria, [&](const std::string& Agora) -> std::optional<std::string> {
                if (Agora != D->Lido) {  // changed by another since it was read: the writes again, on it
                    std::vector<TDados::TEscrita> Escritas = std::move(D->Escritas);
                    D->Recomeca(Agora);
                    for (const TDados::TEscrita& E : Escritas)
                        D->Aplica(E);
                    D->Escritas = std::move(Escritas);
                }
                Depois = D->Modelo->Texto();
                if (Depois == Agora)
                    return std::nullopt;
                return Depois;
            });
            if (Ok && Depois) {  // the model holds what the file now holds
                D->Lido = std::move(*Depois);
                D->Escritas.clear();
                D->Cria = false;
            }
        }
    } catch (...) {
        Ok = false;
    }
    if (!D->Escritas.empty())  // not confirmed, or the file was missing
        D->Recomeca(LeArquivo(D->Arquivo.c_str()).Texto);
    return Ok;
}

std::size_t TPerfilEmLote::Pendentes() const noexcept
{
    return D->Escritas.size();
}
