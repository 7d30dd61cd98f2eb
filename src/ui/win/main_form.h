// The main form: everything the main window shows inside its frame, built once at start-up.
#pragma once

// Attaches the menu bar and creates the form's controls with their initial contents.
void BuildMainForm();
