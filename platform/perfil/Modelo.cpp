#include "platform/perfil/Modelo.h"

#include "platform/Ascii.h"
#include "platform/Cp1252.h"


namespace perfil {

TModelo::TModelo(std::string Texto) : Original(std::move(Texto))
{
    TTextoAnalisado A = Analisa(Original);
    Utf8 = A.Utf8;
    Bom = Original.substr(0, A.Inicio);
    Secoes_ = std::move(A.Secoes);
}

std::string TModelo::Cp1252(std::string_view Bruto) const
{
    return Utf8 ? Utf8ParaCp1252(Bruto) : std::string(Bruto);
}

std::string TModelo::DoArquivo(std::string_view Texto) const
{
    return Utf8 ? Cp1252ParaUtf8(Texto) : std::string(Texto);
}

bool TModelo::NomeIgual(std::string_view Bruto, std::string_view Procurado) const
{
    return Utf8 ? IguaisSemCaixa(Utf8ParaCp1252(Bruto), Procurado) : IguaisSemCaixa(Bruto, Procurado);
}

std::size_t TModelo::THashSemCaixa::operator()(std::string_view Nome) const noexcept
{
    std::size_t Hash = 14695981039346656037ull;
    for (const char C : Nome)
        Hash = (Hash ^ static_cast<unsigned char>(MinusculaAscii(C))) * 1099511628211ull;
    return Hash;
}

bool TModelo::TIgualSemCaixa::operator()(std::string_view A, std::string_view B) const noexcept
{
    return IguaisSemCaixa(A, B);
}

std::string_view TModelo::NomeIndexado(std::size_t I) const
{
    const std::string_view Nome = Secoes_[I].Cabecalho.Nome;
    return Utf8 ? std::string_view(Novas.emplace_back(Utf8ParaCp1252(Nome))) : Nome;
}

void TModelo::Indexa(std::size_t I) const
{
    Seguinte.resize(Secoes_.size(), Nenhuma);
    const auto [Primeira, Nova] = Indice->emplace(NomeIndexado(I), I);
    if (Nova)
        return;
    std::size_t Ultima = Primeira->second;
    while (Seguinte[Ultima] != Nenhuma)
        Ultima = Seguinte[Ultima];
    Seguinte[Ultima] = I;
}

std::size_t TModelo::AchaSecao(std::string_view Nome) const
{
    // "" is the lines before the first header, which always exist and so shadow a "[]" header.
    if (Nome.empty())
        return 0;
    if (!Indice) {
        Indice.emplace();
        Seguinte.assign(Secoes_.size(), Nenhuma);
        for (std::size_t I = 1; I < Secoes_.size(); ++I)
            if (!Secoes_[I].Cabecalho.Nome.empty())
                Indexa(I);
    }
    const auto Achada = Indice->find(Nome);
    for (std::size_t I = Achada == Indice->end() ? Nenhuma : Achada->second; I != Nenhuma; I = Seguinte[I])
        if (!Secoes_[I].Removida)
            return I;
    return Nenhuma;
}

std::size_t TModelo::AchaChave(const TSecao& S, std::string_view Chave) const
{
    for (std::size_t I = 0; I < S.Linhas.size(); ++I)
        if (S.Linhas[I].Entrada() && NomeIgual(S.Linhas[I].Nome, Chave))
            return I;
    return Nenhuma;
}

std::optional<std::string> TModelo::Valor(std::string_view Secao, std::string_view Chave) const
{
    const std::size_t S = AchaSecao(AparaBrancos(Secao));
    const std::size_t I = S == Nenhuma ? Nenhuma : AchaChave(Secoes_[S], AparaBrancos(Chave));
    if (I == Nenhuma || Secoes_[S].Linhas[I].Tipo != TTipoLinha::Chave)
        return std::nullopt;
    return Cp1252(Secoes_[S].Linhas[I].Valor);
}

std::vector<std::string> TModelo::Chaves(std::string_view Secao) const
{
    std::vector<std::string> Nomes;
    const std::size_t S = AchaSecao(AparaBrancos(Secao));
    if (S != Nenhuma)
        for (const TLinha& L : Secoes_[S].Linhas)
            if (L.Tipo == TTipoLinha::Chave && (L.Nome.empty() || L.Nome.front() != ';'))
                Nomes.push_back(Cp1252(L.Nome));
    return Nomes;
}

std::vector<std::pair<std::string, std::string>> TModelo::Valores(std::string_view Secao) const
{
    std::vector<std::pair<std::string, std::string>> Lista;
    const std::size_t S = AchaSecao(AparaBrancos(Secao));
    if (S == Nenhuma)
        return Lista;
    // The first entry of each name answers for it, as a read by name finds it.
    std::unordered_map<std::string, const TLinha*> Primeiras;
    for (const TLinha& L : Secoes_[S].Linhas)
        if (L.Entrada())
            Primeiras.emplace(MinusculasAscii(Cp1252(L.Nome)), &L);
    for (std::string& Nome : Chaves(Secao)) {
        const TLinha* L = Primeiras.at(MinusculasAscii(Nome));
        Lista.emplace_back(std::move(Nome), L->Tipo == TTipoLinha::Chave ? Cp1252(L->Valor) : std::string());
    }
    return Lista;
}

std::vector<std::string> TModelo::Secoes() const
{
    std::vector<std::string> Nomes;
    for (std::size_t I = 1; I < Secoes_.size(); ++I)
        if (!Secoes_[I].Removida && !Secoes_[I].Cabecalho.Nome.empty())
            Nomes.push_back(Cp1252(Secoes_[I].Cabecalho.Nome));
    return Nomes;
}

std::string TModelo::Texto() const
{
    std::size_t Tamanho = Bom.size();
    const auto Soma = [&Tamanho](const TLinha& L) { Tamanho += L.Conteudo.size() + L.Quebra.size(); };
    for (const TSecao& S : Secoes_)
        if (!S.Removida) {
            if (S.TemCabecalho)
                Soma(S.Cabecalho);
            for (const TLinha& L : S.Linhas)
                Soma(L);
        }
    std::string T;
    T.reserve(Tamanho);
    T += Bom;
    const auto Anexa = [&T](const TLinha& L) { T.append(L.Conteudo).append(L.Quebra); };
    for (const TSecao& S : Secoes_)
        if (!S.Removida) {
            if (S.TemCabecalho)
                Anexa(S.Cabecalho);
            for (const TLinha& L : S.Linhas)
                Anexa(L);
        }
    return T;
}

std::string_view TModelo::QuebraPadrao() const
{
    for (const TSecao& S : Secoes_) {
        if (S.Removida)
            continue;
        if (S.TemCabecalho && !S.Cabecalho.Quebra.empty())
            return S.Cabecalho.Quebra;
        for (const TLinha& L : S.Linhas)
            if (!L.Quebra.empty())
                return L.Quebra;
    }
    return "\r\n";
}

TLinha* TModelo::UltimaLinha()
{
    for (std::size_t I = Secoes_.size(); I-- > 0;) {
        TSecao& S = Secoes_[I];
        if (S.Removida)
            continue;
        if (!S.Linhas.empty())
            return &S.Linhas.back();
        if (S.TemCabecalho)
            return &S.Cabecalho;
    }
    return nullptr;
}

TLinha TModelo::NovaLinha(std::string Conteudo, std::string_view Quebra)
{
    return Classifica(Novas.emplace_back(std::move(Conteudo)), Quebra);
}

void TModelo::ViraCabecalho(std::size_t S, std::size_t I)
{
    TSecao Nova;
    Nova.TemCabecalho = true;
    std::vector<TLinha>& Linhas = Secoes_[S].Linhas;
    Nova.Cabecalho = Linhas[I];
    Nova.Linhas.assign(Linhas.begin() + static_cast<std::ptrdiff_t>(I) + 1, Linhas.end());
    Linhas.resize(I);
    Secoes_.insert(Secoes_.begin() + static_cast<std::ptrdiff_t>(S) + 1, std::move(Nova));
    Indice.reset();  // the sections after it moved
}

void TModelo::Junta(std::size_t S, std::size_t I)
{
    std::vector<TLinha>& Linhas = Secoes_[S].Linhas;
    if (I >= Linhas.size() || !Linhas[I].Conteudo.empty() || Linhas[I].Quebra != "\n")
        return;
    TLinha* Anterior = I > 0 ? &Linhas[I - 1] : Secoes_[S].TemCabecalho ? &Secoes_[S].Cabecalho : nullptr;
    if (!Anterior || Anterior->Quebra != "\r")
        return;
    Anterior->Quebra = "\r\n";
    Linhas.erase(Linhas.begin() + static_cast<std::ptrdiff_t>(I));
}

void TModelo::Insere(std::size_t S, std::size_t I, TLinha L)
{
    std::vector<TLinha>& Linhas = Secoes_[S].Linhas;
    TLinha* Anterior = I > 0 ? &Linhas[I - 1] : Secoes_[S].TemCabecalho ? &Secoes_[S].Cabecalho : nullptr;
    if (Anterior && Anterior->Quebra.empty())
        Anterior->Quebra = L.Quebra;
    Linhas.insert(Linhas.begin() + static_cast<std::ptrdiff_t>(I), L);
    Junta(S, I + 1);
    if (L.Tipo == TTipoLinha::Cabecalho)
        ViraCabecalho(S, I);
}

bool TModelo::JuntaSecoesSemNome()
{
    bool Juntou = false;
    for (std::size_t I = 1; I < Secoes_.size(); ++I) {
        TSecao& S = Secoes_[I];
        if (S.Removida)
            continue;
        if (!S.Cabecalho.Nome.empty())
            break;
        Secoes_[0].Linhas.insert(Secoes_[0].Linhas.end(), S.Linhas.begin(), S.Linhas.end());
        S.Linhas.clear();
        S.Removida = true;
        Juntou = true;
    }
    return Juntou;
}

bool TModelo::Aplica(const char* Secao, const char* Chave, const char* Valor)
{
    const std::string_view NomeSecao = AparaBrancos(Secao);
    const std::size_t S = AchaSecao(NomeSecao);
    if (!Chave) {  // the section: its header and every line up to the next header
        if (S == Nenhuma || (S == 0 && Secoes_[0].Linhas.empty()))
            return false;
        if (S == 0)
            Secoes_[0].Linhas.clear();
        else
            Secoes_[S].Removida = true;
        return true;
    }
    const std::size_t I = S == Nenhuma ? Nenhuma : AchaChave(Secoes_[S], AparaBrancos(Chave));
    if (!Valor) {  // the key: its first line
        if (I == Nenhuma)
            return false;
        Secoes_[S].Linhas.erase(Secoes_[S].Linhas.begin() + static_cast<std::ptrdiff_t>(I));
        Junta(S, I);
        return true;
    }
    // Names and values are written without their leading blanks; a key keeps the spelling it has.
    const std::string_view NovoValor = AparaInicioSe(Valor, BrancoAscii);
    if (I != Nenhuma && Secoes_[S].Linhas[I].Tipo == TTipoLinha::Chave &&
        (Utf8 ? Cp1252(Secoes_[S].Linhas[I].Valor) == NovoValor : Secoes_[S].Linhas[I].Valor == NovoValor))
        return false;
    // The line ending of new lines and the place of a new key, both as the file stands before the write.
    const std::string_view Quebra = QuebraPadrao();
    std::size_t Apos = S == Nenhuma ? 0 : Secoes_[S].Linhas.size();
    while (Apos > 0 && Secoes_[S].Linhas[Apos - 1].Tipo == TTipoLinha::Branca)
        --Apos;
    // A value for the lines before the first header takes in the "[]" sections before the first named
    // one, their lines after its own, where neither position above moves.
    const bool Juntou = NomeSecao.empty() && JuntaSecoesSemNome();
    const auto LinhaDaChave = [&] {
        return NovaLinha(DoArquivo(std::string(AparaInicioSe(Chave, BrancoAscii)).append("=").append(NovoValor)), Quebra);
    };
    if (I != Nenhuma) {
        TLinha& L = Secoes_[S].Linhas[I];
        L = NovaLinha(std::string(L.Nome).append("=").append(DoArquivo(NovoValor)), L.Quebra.empty() ? Quebra : L.Quebra);
        if (L.Tipo == TTipoLinha::Cabecalho)
            ViraCabecalho(S, I);
    } else if (S != Nenhuma) {  // after the last line of the section that is not blank
        Insere(S, Apos, LinhaDaChave());
    } else {  // a new section at the end
        if (TLinha* Ultima = UltimaLinha(); Ultima && Ultima->Quebra.empty())
            Ultima->Quebra = Quebra;
        TSecao& Nova = Secoes_.emplace_back();
        Nova.TemCabecalho = true;
        Nova.Cabecalho = NovaLinha(DoArquivo("[" + std::string(AparaInicioSe(Secao, BrancoAscii)) + "]"), Quebra);
        if (Indice && !Nova.Cabecalho.Nome.empty())
            Indexa(Secoes_.size() - 1);
        Insere(Secoes_.size() - 1, 0, LinhaDaChave());
    }
    // Lines that came together where headers went, and the write's own line among them.
    if (Juntou)
        for (std::size_t S_ = 0; S_ < Secoes_.size(); ++S_)
            for (std::size_t L = Secoes_[S_].Linhas.size(); L-- > 0;)
                Junta(S_, L);
    return true;
}

} // namespace perfil
