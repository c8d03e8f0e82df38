#include "screens/uFormTransHab_167171.h"

TFormTransHab_167171::TFormTransHab_167171(QWidget* Owner) : TFormPadraoCfgTransHab(Owner) {}

const TFormClass ClasseFormTransHab_167171 = {
    "TFormTransHab_167171", [](QWidget* Owner) -> TForm* { return new TFormTransHab_167171(Owner); }};
