#include "host/Acesso.h"

#include "config/Lib.h"
#include "platform/Ascii.h"
#include "platform/Files.h"
#include "platform/UserName.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The checks are those of the effective user and groups, who the kernel asks when the module writes.
bool Permite(const std::string& Caminho, int Modo)
{
    return faccessat(AT_FDCWD, Caminho.c_str(), Modo, AT_EACCESS) == 0;
}

class TVerificacao {
public:
    /// A folder, or a file whose stat is St, that must be readable and should be writable; false once
    /// one is not readable.
    bool Confere(const std::string& Caminho, const struct stat* St = nullptr)
    {
        const int Busca = St ? 0 : X_OK;
        if (!Permite(Caminho, R_OK | Busca)) {
            Acesso = {TDireito::Nenhum, Caminho, errno};
            return false;
        }
        if (Acesso.Direito == TDireito::Escrita && !(Permite(Caminho, W_OK | Busca) && (!St || (St->st_mode & 0222))))
            Acesso = {TDireito::Leitura, Caminho, 0};
        return true;
    }
    /// The Mirabelo.ini of Pasta (a Linux path), when it is there under any case.
    bool ConfereIni(const std::string& Pasta)
    {
        std::string Local;
        struct stat St {};
        if (!CaminhoLocalExiste(Pasta + "/Mirabelo.ini", Local, St))
            return true;
        // A link is written through to its target, whose mode counts; a dangling one reads as no file.
        if (S_ISLNK(St.st_mode) && stat(Local.c_str(), &St) != 0)
            return true;
        return Confere(Local, &St);
    }

    TAcessoArquivos Acesso;
};

std::optional<gid_t> GrupoDeNome(const std::string& Nome)
{
    std::vector<char> Area(1024);
    group Registro{};
    group* Achado = nullptr;
    int Erro;
    while ((Erro = getgrnam_r(Nome.c_str(), &Registro, Area.data(), Area.size(), &Achado)) == ERANGE)
        Area.resize(Area.size() * 2);
    if (Erro != 0 || !Achado)
        return std::nullopt;
    return Achado->gr_gid;
}

// The groups of the effective user: those the process holds now, and those the group database gives
// the user (a membership added since the login counts too: a restriction errs on the side of viewing).
std::vector<gid_t> GruposDoUsuario()
{
    std::vector<gid_t> Grupos(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    Grupos.resize(static_cast<std::size_t>(std::max(getgroups(static_cast<int>(Grupos.size()), Grupos.data()), 0)));
    Grupos.push_back(getegid());
    std::string Nome;
    gid_t Primario;
    if (RegistroDoUsuario(geteuid(), Nome, Primario)) {
        int Quantos = 32;
        std::vector<gid_t> DaBase(static_cast<std::size_t>(Quantos));
        while (getgrouplist(Nome.c_str(), Primario, DaBase.data(), &Quantos) < 0)
            DaBase.resize(static_cast<std::size_t>(Quantos));
        Grupos.insert(Grupos.end(), DaBase.begin(), DaBase.begin() + Quantos);
    }
    return Grupos;
}

} // namespace

TAcessoArquivos AcessoAosArquivos(const std::string& Raiz)
{
    TVerificacao V;
    const std::string Config = CaminhoLocal(Raiz + "\\config");
    if (!DirectoryExists(Config))
        V.Confere(CaminhoLocal(Raiz));  // a save makes config/ there
    else if (V.Confere(Config) && V.ConfereIni(Config)) {
        const std::string Empresas = CaminhoLocal(Raiz + "\\config\\empresas");
        std::vector<TEntradaDiretorio> Pastas;
        if (DirectoryExists(Empresas) && V.Confere(Empresas) && ListaDiretorio(Empresas, "*", Pastas)) {
            for (const TEntradaDiretorio& Pasta : Pastas) {
                if (!Pasta.Diretorio || !CodigoEmpresaValido(Pasta.Nome))
                    continue;
                const std::string Caminho = Empresas + "/" + Pasta.Nome;
                if (!V.Confere(Caminho) || !V.ConfereIni(Caminho))
                    break;
            }
        }
    }
    return V.Acesso;
}

std::string PrimeiroSemEscrita(const std::string& Arquivo)
{
    struct stat St {};
    if (stat(Arquivo.c_str(), &St) == 0 && (!Permite(Arquivo, W_OK) || (St.st_mode & 0222) == 0))
        return Arquivo;
    // The file is replaced through a new one beside it, and a missing folder is made in the first one
    // above it that exists.
    std::string Pasta = Arquivo;
    do {
        const std::size_t Barra = Pasta.rfind('/');
        if (Barra == std::string::npos)
            return {};
        Pasta.resize(Barra == 0 ? 1 : Barra);
    } while (Pasta != "/" && stat(Pasta.c_str(), &St) != 0);
    return Permite(Pasta, W_OK | X_OK) ? std::string() : Pasta;
}

std::string UsuarioEfetivo()
{
    std::string Nome;
    gid_t Grupo;
    return RegistroDoUsuario(geteuid(), Nome, Grupo) ? Nome : "uid " + std::to_string(geteuid());
}

TNivel NivelDoUsuario(const TAcessoArquivos& Arquivos, const std::string& Consulta,
                      std::optional<std::uint16_t> Pedido)
{
    TNivel N;
    N.Origem = "file access";
    if (Arquivos.Direito != TDireito::Escrita) {
        N.Nivel = NivelConsulta;
        N.Origem += " (may not write " + Arquivos.Caminho + ")";
    }
    std::vector<gid_t> Grupos;
    for (std::size_t Inicio = 0; N.Nivel == NivelTotal && Inicio <= Consulta.size();) {
        const std::size_t Fim = std::min(Consulta.find(',', Inicio), Consulta.size());
        const std::string Nome = Apara(std::string_view(Consulta).substr(Inicio, Fim - Inicio));
        Inicio = Fim + 1;
        if (Nome.empty())
            continue;
        const std::optional<gid_t> Grupo = GrupoDeNome(Nome);
        if (!Grupo) {
            N.Avisos.push_back("[acesso] consulta names " + Nome + ", which is no group of this system");
            continue;
        }
        if (Grupos.empty())
            Grupos = GruposDoUsuario();
        if (std::find(Grupos.begin(), Grupos.end(), *Grupo) != Grupos.end()) {
            N.Nivel = NivelConsulta;
            N.Origem = "group " + Nome + " in [acesso]";
        }
    }
    if (Pedido && *Pedido == NivelConsulta && N.Nivel == NivelTotal) {
        N.Nivel = NivelConsulta;
        N.Origem = "--level";
    } else if (Pedido && *Pedido < N.Nivel) {
        N.Avisos.push_back("--level " + std::to_string(*Pedido) + " ignored: user " + UsuarioEfetivo() +
                           " may only view, from " + N.Origem);
    }
    return N;
}

std::string DescreveNivel(const TNivel& Nivel)
{
    return "user " + UsuarioEfetivo() + ": level " + std::to_string(Nivel.Nivel) +
           (Nivel.Nivel == NivelConsulta ? " (view only)" : " (full rights)") + " from " + Nivel.Origem;
}
