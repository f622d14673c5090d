// A core source that reaches into the Qt shell.
#include "ui/art/art.h"
