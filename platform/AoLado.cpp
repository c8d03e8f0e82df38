#include "platform/AoLado.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace {

/// A hint to the core that this is a wait loop (it slows the loop and spares the other hardware thread).
inline void Pausa() noexcept
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__) || defined(__arm__)
    asm volatile("yield");
#endif
}

struct TLado {
    std::mutex M;
    std::condition_variable Chegou;
    std::deque<std::function<void()>> Fila;
    std::atomic<std::size_t> Entregues{0};  ///< tasks ever queued
    std::size_t Feitas = 0;                 ///< tasks taken (this thread's own count)
    /// The tasks of one save come a few hundred microseconds apart (its audit entries, then the
    /// replaced file to close, once the new one is flushed). Waking a sleeping thread costs the caller
    /// some 20 microseconds on a virtual machine, a twentieth of a large table's save; so after a task
    /// the thread looks for the next one for a millisecond before it sleeps, when the process may run
    /// on more than one core (on one, it would only take the time from the thread it waits for).
    const bool Espia = [] {
        cpu_set_t Cpus;
        return sched_getaffinity(0, sizeof Cpus, &Cpus) == 0 && CPU_COUNT(&Cpus) > 1;
    }();

    void EsperaUmPouco()
    {
        const auto Limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
        while (Entregues.load(std::memory_order_acquire) == Feitas && std::chrono::steady_clock::now() < Limite)
            for (int I = 0; I < 64; ++I)
                Pausa();
    }

    [[noreturn]] void Trabalha()
    {
        for (;;) {
            std::function<void()> Tarefa;
            if (Espia)
                EsperaUmPouco();
            {
                std::unique_lock<std::mutex> L(M);
                Chegou.wait(L, [this] { return !Fila.empty(); });
                ++Feitas;
                Tarefa = std::move(Fila.front());
                Fila.pop_front();
            }
            try {
                Tarefa();
            } catch (...) {
                // A task that throws loses its own work only.
            }
        }
    }
};

// The side thread of this process: made at the first use and never ended, so the object it waits in
// is never destroyed. A child made by fork has no threads: it makes its own (the parent's object is
// left as it was, with whatever lock it held at the fork).
std::atomic<TLado*> Atual{nullptr};
std::mutex Criacao;

TLado* Lado()
{
    if (TLado* L = Atual.load(std::memory_order_acquire))
        return L;
    std::lock_guard<std::mutex> Trava(Criacao);
    if (TLado* L = Atual.load(std::memory_order_acquire))
        return L;
    static const bool Registrado = pthread_atfork(nullptr, nullptr, [] { Atual.store(nullptr); }) == 0;
    if (!Registrado)
        return nullptr;
    auto Novo = std::make_unique<TLado>();
    std::thread([L = Novo.get()] { L->Trabalha(); }).detach();
    Atual.store(Novo.get(), std::memory_order_release);
    return Novo.release();
}

} // namespace

bool FazAoLado(std::function<void()> Tarefa) noexcept
{
    try {
        TLado* L = Lado();
        if (!L)
            return false;
        {
            std::lock_guard<std::mutex> Trava(L->M);
            L->Fila.push_back(std::move(Tarefa));
            L->Entregues.fetch_add(1, std::memory_order_release);
        }
        L->Chegou.notify_one();
        return true;
    } catch (...) {
        return false;  // no thread or no memory: nothing was queued
    }
}

struct TTarefaAoLado::TEstado {
    std::function<void()> Tarefa;
    std::mutex M;
    std::condition_variable Terminou;
    bool Feita = false;
};

TTarefaAoLado::TTarefaAoLado(std::function<void()> Tarefa) : Estado(std::make_shared<TEstado>())
{
    Estado->Tarefa = std::move(Tarefa);
    const bool AoLado = FazAoLado([E = Estado] {
        try {
            E->Tarefa();
        } catch (...) {
            // dropped, as on the caller's own thread it would have been caught
        }
        std::lock_guard<std::mutex> Trava(E->M);
        E->Feita = true;
        E->Terminou.notify_all();
    });
    if (!AoLado) {
        Estado->Tarefa();
        Estado->Feita = true;
    }
}

TTarefaAoLado::~TTarefaAoLado()
{
    Espera();
}

void TTarefaAoLado::Espera() noexcept
{
    std::unique_lock<std::mutex> Trava(Estado->M);
    Estado->Terminou.wait(Trava, [this] { return Estado->Feita; });
}
