// The one application object of the program.
#include "app/BarApp.h"

CBarApp theApp;
