#pragma once
// A fresh server root in a temporary directory, with CfKovan.ini beside a pretend host executable and
// helpers to write the translation files, for the support tests.
#include "runtime/Application.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

class TRaizTraducao {
public:
    TRaizTraducao()
    {
        std::string Modelo = (std::filesystem::temp_directory_path() / "kovan-sup-XXXXXX").string();
        if (!mkdtemp(Modelo.data()))
            throw std::runtime_error("mkdtemp failed");
        Pasta = Modelo;
        std::filesystem::create_directories(Pasta / "raiz" / "config");
        EscreveArquivo(Pasta / "CfKovan.ini", "[config]\r\nraiz=" + (Pasta / "raiz").string() + "\r\n");
        Application().SetExeName((Pasta / "cfkovan").string());
    }
    ~TRaizTraducao()
    {
        Application().SetExeName({});
        std::error_code Erro;
        std::filesystem::remove_all(Pasta, Erro);
    }
    TRaizTraducao(const TRaizTraducao&) = delete;
    TRaizTraducao& operator=(const TRaizTraducao&) = delete;

    std::filesystem::path Config() const { return Pasta / "raiz" / "config"; }

    /// Points TabTraducao.ini at Dicionario (written as given).
    void NomeiaDicionario(const std::string& Dicionario) const
    {
        EscreveArquivo(Config() / "TabTraducao.ini", "[CfKovan]\r\nNomeArqTraducao=" + Dicionario + "\r\n");
    }

    static void EscreveArquivo(const std::filesystem::path& Caminho, const std::string& Conteudo)
    {
        std::ofstream Arquivo(Caminho, std::ios::binary | std::ios::trunc);
        Arquivo << Conteudo;
        if (!Arquivo)
            throw std::runtime_error("cannot write " + Caminho.string());
    }

    static std::string LeArquivo(const std::filesystem::path& Caminho)
    {
        std::ifstream Arquivo(Caminho, std::ios::binary);
        std::ostringstream Conteudo;
        Conteudo << Arquivo.rdbuf();
        return Conteudo.str();
    }

    std::filesystem::path Pasta;
};
