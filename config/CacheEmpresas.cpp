#include "config/CacheEmpresas.h"

#include "config/Lib.h"
#include "platform/Files.h"

#include <mutex>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What changes the answer of LerEmpresas: entries coming and going, a file's bytes or attributes, and
// the folder itself going away.
constexpr std::uint32_t Mudancas = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_CLOSE_WRITE |
                                   IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

struct TCache {
    std::mutex Trava;
    std::string Pasta;        // the config folder watched
    dev_t Dispositivo = 0;    // and which folder it was when the watch was made
    ino_t Inode = 0;
    int Notificador = -1;
    bool Valida = false;
    std::int32_t Resposta = 0;
    std::vector<std::string> Lista;

    ~TCache() { Fecha(); } // the module may be unloaded: its watch goes with it
    void Fecha()
    {
        if (Notificador >= 0)
            close(Notificador);
        Notificador = -1;
        Valida = false;
        Pasta.clear();
        Lista.clear();
    }
    // Watches Local; false when it cannot be watched.
    bool Vigia(const std::string& Local, const struct stat& Estado)
    {
        Fecha();
        Notificador = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (Notificador < 0 || inotify_add_watch(Notificador, Local.c_str(), Mudancas) < 0) {
            Fecha();
            return false;
        }
        Pasta = Local;
        Dispositivo = Estado.st_dev;
        Inode = Estado.st_ino;
        return true;
    }
    // Reads every pending event; true when there was one.
    bool Mudou()
    {
        alignas(inotify_event) char Eventos[4096];
        bool Algum = false;
        for (;;) {
            const ssize_t Lidos = read(Notificador, Eventos, sizeof Eventos);
            if (Lidos <= 0)
                return Algum;
            Algum = true;
        }
    }
};

TCache& Cache()
{
    static TCache C;
    return C;
}

} // namespace

std::int32_t LerEmpresasCache(const std::string& Raiz, std::vector<std::string>& Lista) noexcept
{
    TCache& C = Cache();
    try {
        std::lock_guard Guarda(C.Trava);
        const std::string Local = CaminhoLocal(Raiz + "\\config\\");
        struct stat Estado {};
        if (stat(Local.c_str(), &Estado) != 0 || !S_ISDIR(Estado.st_mode)) {
            C.Fecha();
            return LerEmpresas(Raiz, Lista);
        }
        const bool Mesma = C.Notificador >= 0 && C.Pasta == Local && C.Dispositivo == Estado.st_dev && C.Inode == Estado.st_ino;
        if (!Mesma && !C.Vigia(Local, Estado))
            return LerEmpresas(Raiz, Lista);
        if (C.Mudou())
            C.Valida = false;
        if (!C.Valida) {
            // The watch exists before the read: a change during the read is seen by the next call.
            C.Resposta = LerEmpresas(Raiz, C.Lista);
            C.Valida = true;
        }
        Lista = C.Lista;
        return C.Resposta;
    } catch (...) {
        C.Fecha();
        return LerEmpresas(Raiz, Lista);
    }
}

void DescartaCacheEmpresas() noexcept
{
    TCache& C = Cache();
    std::lock_guard Guarda(C.Trava);
    C.Fecha();
}
