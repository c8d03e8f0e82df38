#pragma once
// The application object: what the host says about itself to the modules it loads.
#include "platform/Export.h"

#include <string>

class KOVANRT_API TApplication {
public:
    /// Title of the host program.
    std::string Title;

    /// Path of the host program's executable: the one the host set, or the real one.
    std::string ExeName() const;
    /// Lets a host say where its executable lives, so the settings beside it (CfKovan.ini) are found
    /// there; an empty path goes back to the real executable.
    void SetExeName(const std::string& Caminho);

private:
    std::string ExeDefinido;
};

/// Qt's own texts (the buttons of message boxes, the edit fields' menu) in Portuguese, like the rest of
/// the screens: installs Qt's Brazilian Portuguese catalogue once a Qt application exists. Called by
/// every form and message box; a missing catalogue leaves Qt's English texts.
KOVANRT_API void InstalaTraducaoQt();

/// The process-wide application object.
KOVANRT_API TApplication& Application();
