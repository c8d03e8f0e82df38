#include "screens/uFormPadraoCfgBins_B.h"

TFormPadraoCfgBins_B::TFormPadraoCfgBins_B(QWidget* Owner) : TFormPadraoCfgEstab(Owner) {}
