#pragma once
// The text of a profile file as Windows reads it: lines, each classified, grouped into sections.
// Lines are views into the text they were read from; nothing here owns text.
#include <cstddef>
#include <string_view>
#include <vector>

namespace perfil {

enum class TTipoLinha { Branca, Cabecalho, Chave, SemIgual };

struct TLinha {
    std::string_view Conteudo;  ///< the line without its ending
    std::string_view Quebra;    ///< its ending: "", "\r\n", "\n" or "\r" (static texts)
    TTipoLinha Tipo = TTipoLinha::Branca;
    std::string_view Nome;   ///< header name, key name or the text of a line without '=' (trimmed, raw)
    std::string_view Valor;  ///< value of a key line (trimmed, raw, quotes kept)

    /// A key line or a line without '=': what a key name finds.
    bool Entrada() const noexcept { return Tipo == TTipoLinha::Chave || Tipo == TTipoLinha::SemIgual; }
};

/// The line Conteudo (without its ending) as Windows reads it. A NUL ends what the line says; the
/// bytes after it stay in Conteudo.
TLinha Classifica(std::string_view Conteudo, std::string_view Quebra);

struct TSecao {
    bool TemCabecalho = false;  ///< false only for the lines before the first header
    bool Removida = false;      ///< erased by a write (a parse never sets it)
    TLinha Cabecalho;
    std::vector<TLinha> Linhas;  ///< the lines after the header, up to the next header
};

struct TTextoAnalisado {
    bool Utf8 = false;       ///< the text starts with a UTF-8 BOM: its names and values are UTF-8
    std::size_t Inicio = 0;  ///< offset of the first line (after the BOM)
    std::vector<TSecao> Secoes;  ///< [0]: the lines before the first header, always there
};

/// Texto split into lines (ended by CR LF, LF or a lone CR) and sections.
TTextoAnalisado Analisa(std::string_view Texto);

} // namespace perfil
