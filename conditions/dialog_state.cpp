#include "conditions/dialog_state.h"

ConditionsDialogState DialogState;
char ExchangeText[256];
