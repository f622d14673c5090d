// A core header that reaches Qt through its lower-case form.
#include <qglobal.h>
