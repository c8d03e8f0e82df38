#pragma once
// A profile file's text as an editable model: the reads of the private-profile functions, and their
// writes, each changing only the lines it concerns. The text the model gives after any writes is,
// byte for byte, what making the same writes one at a time on the file would leave, each on a fresh
// parse of the text the one before left: the tests replay every recorded case and random ones both ways.
#include "platform/perfil/Linhas.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace perfil {

class TModelo {
public:
    /// The model of Texto: decoded (CP1252, or UTF-8 behind a BOM), as the file layer gives it.
    explicit TModelo(std::string Texto);
    TModelo(const TModelo&) = delete;
    TModelo& operator=(const TModelo&) = delete;

    /// The value (CP1252, quotes kept) of the first entry named Chave of the first section named
    /// Secao, when that entry is a key line; nothing when the section, the entry or its '=' is missing.
    /// Names are trimmed CP1252, matched without regard to ASCII case; "" is the lines before the
    /// first header.
    std::optional<std::string> Valor(std::string_view Secao, std::string_view Chave) const;
    /// The key names of Secao as Windows lists them (key lines not starting with ';'); empty when
    /// the section is missing.
    std::vector<std::string> Chaves(std::string_view Secao) const;
    /// Each of those names with the value of the first entry of that name ("" when it has no '=').
    std::vector<std::pair<std::string, std::string>> Valores(std::string_view Secao) const;
    /// The names of the sections that have one, in file order.
    std::vector<std::string> Secoes() const;

    /// Makes one write as WritePrivateProfileStringA makes it: Valor null deletes the key, Chave null
    /// the section. Secao is not null; no text holds CR or LF; Valor is as Windows stores it (its
    /// length already wrapped). False when the text stays as it is.
    bool Aplica(const char* Secao, const char* Chave, const char* Valor);

    /// The text the model holds.
    std::string Texto() const;

private:
    static constexpr std::size_t Nenhuma = static_cast<std::size_t>(-1);

    /// Name or value of the file as CP1252.
    std::string Cp1252(std::string_view Bruto) const;
    /// CP1252 text as it goes into the file.
    std::string DoArquivo(std::string_view Texto) const;
    bool NomeIgual(std::string_view Bruto, std::string_view Procurado) const;
    /// The index of the first live section named Nome, Nenhuma when none is.
    std::size_t AchaSecao(std::string_view Nome) const;
    /// The position in S of its first entry named Chave, Nenhuma when none is.
    std::size_t AchaChave(const TSecao& S, std::string_view Chave) const;
    /// A line made by a write: its text kept in the model, classified as a parse would.
    TLinha NovaLinha(std::string Conteudo, std::string_view Quebra);
    /// Line I of section S, a line of a write that reads as a header: it starts a section of its own
    /// with the lines after it, as a parse of the text would find.
    void ViraCabecalho(std::size_t S, std::size_t I);
    /// Line I of section S follows the line before it in the text: when that one ends in a lone CR and
    /// line I is empty and ends in LF, a parse reads one CR LF ending, and so does the model.
    void Junta(std::size_t S, std::size_t I);
    /// Inserts L at position I of section S, after giving the line before it an ending if it has none.
    void Insere(std::size_t S, std::size_t I, TLinha L);
    /// The "[]" sections before the first named one join the lines before the first header (their
    /// lines after its own, without headers); true when there was one.
    bool JuntaSecoesSemNome();
    /// The line ending of the first line that has one, CR LF when none has.
    std::string_view QuebraPadrao() const;
    TLinha* UltimaLinha();

    std::string Original;           ///< the text the model was made from
    /// The texts of the lines writes made, and the CP1252 names of a UTF-8 file's sections (their
    /// addresses stay).
    mutable std::deque<std::string> Novas;
    std::string Bom;                ///< the bytes before the first line
    bool Utf8 = false;
    std::vector<TSecao> Secoes_;    ///< [0]: the lines before the first header
    /// Names compared and hashed without regard to ASCII case.
    struct THashSemCaixa {
        std::size_t operator()(std::string_view Nome) const noexcept;
    };
    struct TIgualSemCaixa {
        bool operator()(std::string_view A, std::string_view B) const noexcept;
    };
    /// The sections by name (CP1252): the first of each name, made at the first look-up; Seguinte
    /// holds, for each section, the next one of its name (Nenhuma: none).
    mutable std::optional<std::unordered_map<std::string_view, std::size_t, THashSemCaixa, TIgualSemCaixa>> Indice;
    mutable std::vector<std::size_t> Seguinte;
    /// The name of section I as the index holds it: CP1252, kept in the model.
    std::string_view NomeIndexado(std::size_t I) const;
    /// Puts section I (the last of its name so far) in the index.
    void Indexa(std::size_t I) const;
};

} // namespace perfil
