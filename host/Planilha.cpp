#include "host/Planilha.h"

#include "platform/Ascii.h"

std::string MontaLinhaPlanilha(const std::vector<std::string>& Campos)
{
    std::string Linha;
    for (std::size_t I = 0; I < Campos.size(); ++I) {
        if (I > 0)
            Linha += ';';
        const std::string& C = Campos[I];
        const bool Aspas = C.find_first_of(";\"") != std::string::npos ||
                           (!C.empty() && (BrancoAscii(C.front()) || BrancoAscii(C.back())));
        if (!Aspas) {
            Linha += C;
            continue;
        }
        Linha += '"';
        for (char Ch : C) {
            if (Ch == '"')
                Linha += '"';
            Linha += Ch;
        }
        Linha += '"';
    }
    return Linha;
}

bool SeparaLinhaPlanilha(std::string_view Linha, std::vector<std::string>& Campos, std::string& Erro)
{
    Campos.assign(1, std::string());
    std::size_t I = 0;
    while (I <= Linha.size()) {
        std::string& Campo = Campos.back();
        if (I < Linha.size() && Linha[I] == '"') {
            for (++I;; ++I) {
                if (I >= Linha.size()) {
                    Erro = "a quoted field is not closed";
                    return false;
                }
                if (Linha[I] != '"') {
                    Campo += Linha[I];
                } else if (I + 1 < Linha.size() && Linha[I + 1] == '"') {
                    Campo += '"';
                    ++I;
                } else {
                    break;
                }
            }
            ++I;
            if (I < Linha.size() && Linha[I] != ';') {
                Erro = "text after a closing quote";
                return false;
            }
        } else {
            const std::size_t Fim = std::min(Linha.find(';', I), Linha.size());
            Campo.assign(Linha.substr(I, Fim - I));
            I = Fim;
        }
        if (I >= Linha.size())
            break;
        Campos.emplace_back();
        ++I;
    }
    return true;
}
