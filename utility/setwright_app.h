// The application: one modal dialog, and the program ends when it closes.
#pragma once

#include "utility/framework/framework.h"

class CSetwrightApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
