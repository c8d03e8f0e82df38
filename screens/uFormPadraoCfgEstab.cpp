#include "screens/uFormPadraoCfgEstab.h"

TFormPadraoCfgEstab::TFormPadraoCfgEstab(QWidget* Owner) : TForm(Owner) {}
