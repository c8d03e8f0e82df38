#include "screens/uFormPadraoCfgTransHab.h"

TFormPadraoCfgTransHab::TFormPadraoCfgTransHab(QWidget* Owner) : TFormPadraoCfgEstab(Owner) {}
