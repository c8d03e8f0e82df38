#include "platform/perfil/Linhas.h"

#include "platform/Ascii.h"

namespace perfil {

namespace {

std::string_view QuebraDe(std::string_view Texto, std::size_t Fim) noexcept
{
    if (Fim >= Texto.size())
        return "";
    if (Texto[Fim] == '\n')
        return "\n";
    return Fim + 1 < Texto.size() && Texto[Fim + 1] == '\n' ? "\r\n" : "\r";
}

} // namespace

TLinha Classifica(std::string_view Conteudo, std::string_view Quebra)
{
    TLinha L;
    L.Conteudo = Conteudo;
    L.Quebra = Quebra;
    const std::string_view T = AparaBrancos(Conteudo.substr(0, Conteudo.find('\0')));
    if (T.empty())
        return L;
    if (T.front() == '[') {
        if (const std::size_t Fecha = T.rfind(']'); Fecha != std::string_view::npos && Fecha > 0) {
            L.Tipo = TTipoLinha::Cabecalho;
            L.Nome = AparaBrancos(T.substr(1, Fecha - 1));
            return L;
        }
    }
    if (const std::size_t Igual = T.find('='); Igual != std::string_view::npos) {
        L.Tipo = TTipoLinha::Chave;
        L.Nome = AparaBrancos(T.substr(0, Igual));
        L.Valor = AparaBrancos(T.substr(Igual + 1));
        return L;
    }
    L.Tipo = TTipoLinha::SemIgual;
    L.Nome = T;
    return L;
}

TTextoAnalisado Analisa(std::string_view Texto)
{
    TTextoAnalisado A;
    if (Texto.substr(0, 3) == "\xEF\xBB\xBF") {
        A.Utf8 = true;
        A.Inicio = 3;
    }
    A.Secoes.emplace_back();
    for (std::size_t I = A.Inicio; I < Texto.size();) {
        std::size_t Fim = I;
        while (Fim < Texto.size() && Texto[Fim] != '\r' && Texto[Fim] != '\n')
            ++Fim;
        const std::string_view Quebra = QuebraDe(Texto, Fim);
        const TLinha L = Classifica(Texto.substr(I, Fim - I), Quebra);
        if (L.Tipo == TTipoLinha::Cabecalho) {
            TSecao& S = A.Secoes.emplace_back();
            S.TemCabecalho = true;
            S.Cabecalho = L;
        } else {
            A.Secoes.back().Linhas.push_back(L);
        }
        I = Fim + Quebra.size();
    }
    return A;
}

} // namespace perfil
