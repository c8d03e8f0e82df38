#pragma once
// Company/group selection screen from which every screen of the module derives.
#include "runtime/Forms.h"

class TFormPadraoCfgEstab : public TForm {
    Q_OBJECT
public:
    explicit TFormPadraoCfgEstab(QWidget* Owner = nullptr);
};
