// The one program-wide FormState, with the initial values the form starts from.
// Portable core: the shell updates it from the controls and builds frames and key lines from it.
#include "ui/form_state.h"

FormState g_form;
