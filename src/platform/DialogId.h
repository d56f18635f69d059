// The dialogs stored with the program, by their template numbers: the one list the
// application, the stored templates (resources/DialogTemplates.h) and the backends name
// a dialog by.
#pragma once

enum class DialogId { Settings = 106, CreateQuestion = 108, About = 109, PupilPicker = 110 };
