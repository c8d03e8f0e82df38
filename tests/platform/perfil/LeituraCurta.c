/* Preloaded by the tests (LD_PRELOAD): read() answers at most $KOVAN_LEITURA_MAXIMA bytes a call, as a
   network or FUSE file system may. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

__attribute__((visibility("default"))) ssize_t read(int Fd, void* Buffer, size_t Tamanho)
{
    static ssize_t (*Real)(int, void*, size_t);
    static long Maximo = -1;
    if (!Real)
        Real = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
    if (Maximo < 0) {
        const char* Texto = getenv("KOVAN_LEITURA_MAXIMA");
        Maximo = Texto ? atol(Texto) : 0;
    }
    if (Maximo > 0 && Tamanho > (size_t)Maximo)
        Tamanho = (size_t)Maximo;
    return Real(Fd, Buffer, Tamanho);
}
