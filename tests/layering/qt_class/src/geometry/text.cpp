// A core source that includes a Qt class header.
#include <QString>
