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
    struct TItem {
        std::function<void()> Tarefa;
        bool OutraAVir = false;
    };
    std::mutex M;
    std::condition_variable Chegou;
    std::deque<TItem> Fila;
    std::atomic<std::size_t> Entregues{0};  ///< tasks ever queued
    std::size_t Tomadas = 0;                ///< tasks taken (this thread's own count)
    /// Looking for a task instead of sleeping takes a core; with only one, it would take the time
    /// of the thread that is to queue the task.
    const bool VariosNucleos = [] {
        cpu_set_t Cpus;
        return sched_getaffinity(0, sizeof Cpus, &Cpus) == 0 && CPU_COUNT(&Cpus) > 1;
    }();

    /// Returns when a task is queued or a millisecond has gone by.
    void EsperaUmPouco()
    {
        const auto Limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
        while (Entregues.load(std::memory_order_acquire) == Tomadas && std::chrono::steady_clock::now() < Limite)
            for (int I = 0; I < 64; ++I)
                Pausa();
    }

    [[noreturn]] void Trabalha()
    {
        bool Procura = false;
        for (;;) {
            if (Procura)
                EsperaUmPouco();
            TItem Item;
            {
                std::unique_lock<std::mutex> L(M);
                Chegou.wait(L, [this] { return !Fila.empty(); });
                ++Tomadas;
                Item = std::move(Fila.front());
                Fila.pop_front();
            }
            try {
                Item.Tarefa();
            } catch (...) {
                // A task that throws loses its own work only.
            }
            Procura = Item.OutraAVir && VariosNucleos;
        }
    }

    void Enfileira(std::function<void()> Tarefa, bool OutraAVir)
    {
        {
            std::lock_guard<std::mutex> Trava(M);
            Fila.push_back({std::move(Tarefa), OutraAVir});
            Entregues.fetch_add(1, std::memory_order_release);
        }
        Chegou.notify_one();  // no call into the kernel when the thread is not asleep
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

bool Entrega(std::function<void()> Tarefa, bool OutraAVir) noexcept
{
    try {
        TLado* L = Lado();
        if (!L)
            return false;
        L->Enfileira(std::move(Tarefa), OutraAVir);
        return true;
    } catch (...) {
        return false;  // no thread or no memory: nothing was queued
    }
}

} // namespace

bool FazAoLado(std::function<void()> Tarefa) noexcept
{
    return Entrega(std::move(Tarefa), false);
}

struct TTarefaAoLado::TEstado {
    std::function<void()> Tarefa;
    std::mutex M;
    std::condition_variable Terminou;
    bool Feita = false;
};

TTarefaAoLado::TTarefaAoLado(std::function<void()> Tarefa) : TTarefaAoLado(std::move(Tarefa), false) {}

TTarefaAoLado::TTarefaAoLado(std::function<void()> Tarefa, bool OutraAVir) : Estado(std::make_shared<TEstado>())
{
    Estado->Tarefa = std::move(Tarefa);
    const bool AoLado = Entrega([E = Estado] {
        try {
            E->Tarefa();
        } catch (...) {
            // dropped, as on the caller's own thread it would have been caught
        }
        std::lock_guard<std::mutex> Trava(E->M);
        E->Feita = true;
        E->Terminou.notify_all();
    }, OutraAVir);
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
