#include "screens/uFormTabelaBins_167171.h"

TFormTabelaBins_167171::TFormTabelaBins_167171(QWidget* Owner) : TFormPadraoCfgBins_B(Owner) {}

const TFormClass ClasseFormTabelaBins_167171 = {
    "TFormTabelaBins_167171", [](QWidget* Owner) -> TForm* { return new TFormTabelaBins_167171(Owner); }};
