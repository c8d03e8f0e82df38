#include "screens/uFormEstabelecimento_167171.h"

TFormEstabelecimento_167171::TFormEstabelecimento_167171(QWidget* Owner) : TFormPadraoCfgEstab(Owner) {}

const TFormClass ClasseFormEstabelecimento_167171 = {
    "TFormEstabelecimento_167171", [](QWidget* Owner) -> TForm* { return new TFormEstabelecimento_167171(Owner); }};
