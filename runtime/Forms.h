#pragma once
// TForm: the base of every screen a module offers, over QWidget.
#include "platform/Export.h"

#include <QWidget>
#include <functional>
#include <string>

/// Runs a handler at the event boundary: an exception that escapes it is shown in a message box with
/// its text, as the host's runtime does, and the screen stays usable.
KOVANRT_API void ExecutaProtegido(const std::function<void()>& Acao) noexcept;

class KOVANRT_API TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* Owner = nullptr);

    /// Title of the form, CP1252.
    std::string Caption() const;
    void SetCaption(const std::string& Texto);

    /// Posts a private message (a number above 1000) to the form; it arrives after the current handler
    /// returns, through TrataMensagem.
    void PostMessage(int Mensagem);

protected:
    bool event(QEvent* Evento) override;
    /// Receives the private messages posted with PostMessage.
    virtual void TrataMensagem(int Mensagem);
};
