#pragma once
// One thread of the process for work a user action need not wait for, or waits for only at its end:
// the audit entries of a save written while the file is replaced, the replaced file closed after the
// save. It is started at its first use, and again in a child made by fork (which has no threads).
#include "platform/Export.h"

#include <functional>
#include <memory>

/// Runs Tarefa on the side thread, after what was given to it before; what it throws is dropped.
/// False when no thread can be had (Tarefa is not run: the caller does the work itself).
KOVANRT_API bool FazAoLado(std::function<void()> Tarefa) noexcept;

/// A piece of work run on the side thread, or here at once when there is none; Espera (or the
/// destructor) returns when it has run. What it throws on the side thread is dropped.
class KOVANRT_API TTarefaAoLado {
public:
    explicit TTarefaAoLado(std::function<void()> Tarefa);
    /// OutraAVir: the caller hands the side thread more work within about a millisecond of this
    /// task's end (a save's audit entries, then the file its replace leaves behind), so the thread
    /// looks for it for that long before it sleeps: waking a sleeping thread costs the caller some
    /// 20 microseconds on a virtual machine. Only when the process may run on more than one core.
    TTarefaAoLado(std::function<void()> Tarefa, bool OutraAVir);
    ~TTarefaAoLado();
    TTarefaAoLado(const TTarefaAoLado&) = delete;
    TTarefaAoLado& operator=(const TTarefaAoLado&) = delete;
    void Espera() noexcept;

private:
    struct TEstado;
    std::shared_ptr<TEstado> Estado;
};
