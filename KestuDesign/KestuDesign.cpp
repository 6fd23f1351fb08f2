#include "KestuDesign/KestuDesign.h"

namespace kestu {
const char* kitName()
{
    return "KestuDesign";
}
}
