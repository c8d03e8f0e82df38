#pragma once
// A fresh server root per test, in a temporary directory, with helpers to lay out the server's files
// byte for byte (without going through the code under test).
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class TRaizTeste {
public:
    /// Existente: the folder of a root another process of the test made (a child writing into its
    /// parent's root), used as it is and left in place; null makes a fresh one.
    explicit TRaizTeste(const char* Existente = nullptr)
    {
        if (Existente) {
            Pasta = Existente;
            Raiz = Pasta / "Kovan";
            Propria = false;
            return;
        }
        std::string Modelo = (std::filesystem::temp_directory_path() / "kovan-XXXXXX").string();
        if (!mkdtemp(Modelo.data()))
            throw std::runtime_error("mkdtemp failed");
        Pasta = Modelo;
        Raiz = Pasta / "Kovan";
        std::filesystem::create_directories(Raiz / "config");
    }
    ~TRaizTeste()
    {
        if (!Propria)
            return;
        std::error_code Erro;
        // Read-only files and folders left by a test must not stop the clean-up.
        for (auto& E : std::filesystem::recursive_directory_iterator(Pasta, Erro))
            std::filesystem::permissions(E.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, Erro);
        std::filesystem::remove_all(Pasta, Erro);
    }
    TRaizTeste(const TRaizTeste&) = delete;
    TRaizTeste& operator=(const TRaizTeste&) = delete;

    /// The root as the module sees it.
    std::string RaizTexto() const { return Raiz.string(); }

    static void Grava(const std::filesystem::path& Caminho, const std::string& Bytes)
    {
        std::filesystem::create_directories(Caminho.parent_path());
        std::ofstream(Caminho, std::ios::binary) << Bytes;
    }
    static std::string Le(const std::filesystem::path& Caminho)
    {
        std::ifstream Arquivo(Caminho, std::ios::binary);
        return {std::istreambuf_iterator<char>(Arquivo), std::istreambuf_iterator<char>()};
    }
    /// The file's inode, 0 when it does not exist: a changed inode tells a file replaced by rename.
    static ino_t Inode(const std::filesystem::path& Caminho)
    {
        struct stat S {};
        return stat(Caminho.c_str(), &S) == 0 ? S.st_ino : 0;
    }

    /// Every file and folder under Pasta with its inode, change time and bytes: two equal pictures, untouched files.
    static std::map<std::string, std::string> Retrato(const std::filesystem::path& Pasta)
    {
        std::map<std::string, std::string> Arquivos;
        for (const auto& E : std::filesystem::recursive_directory_iterator(Pasta)) {
            struct stat S {};
            stat(E.path().c_str(), &S);
            Arquivos[E.path().string()] = std::to_string(S.st_ino) + ' ' + std::to_string(S.st_ctim.tv_sec) + '.' +
                                          std::to_string(S.st_ctim.tv_nsec) + ' ' +
                                          (E.is_regular_file() ? Le(E.path()) : std::string());
        }
        return Arquivos;
    }

    /// A company file root/config/<Nome>.cnf starting with the server's two magic bytes.
    void CriaEmpresa(const std::string& Nome, const std::string& Inicio = std::string("\x10\x01rest", 6))
    {
        Grava(Raiz / "config" / (Nome + ".cnf"), Inicio);
    }
    /// KovanCfg.ini in multi-company mode, with or without duplicate establishment codes.
    void MultiEmpresa(bool PermiteDuplicados = false)
    {
        Grava(Raiz / "config" / "KovanCfg.ini", std::string("[config]\r\nTipoConfKovan=MULTIEMPRESA\r\nPermiteDuplEstab=") +
                                                    (PermiteDuplicados ? "SIM" : "NAO") + "\r\n");
    }
    std::filesystem::path IniEmpresa(const std::string& Empresa) const
    {
        return Raiz / "config" / "empresas" / Empresa / "Mirabelo.ini";
    }

    std::filesystem::path Pasta;
    std::filesystem::path Raiz;

private:
    bool Propria = true;
};
