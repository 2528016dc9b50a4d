#include "SetupText.h"

namespace SetupText {

const char* const kLicenceParts[3] = {
    "SELVIK ELECTRONICS WORKBENCH 1.0 - USER LICENSE AGREEMENT\r\n\r\n"
    "This agreement is between you and the makers of Selvik Electronics Workbench "
    "(\"the Software\"). By installing or using the Software you agree to its terms.\r\n\r\n",

    "1. LICENSE. You may install and use the Software on any number of computers for learning, "
    "teaching and private study. You may copy the example circuits and the circuits you make "
    "with the Software freely.\r\n\r\n"
    "2. RESTRICTIONS. You may not sell the Software or pass it on as part of another product "
    "without permission. You may not remove this agreement from copies of the Software.\r\n\r\n",

    "3. NO WARRANTY. The Software is a teaching aid. Its simulations show how circuits behave "
    "in a simplified model and are no substitute for safe practice with real electrical "
    "equipment. The Software is provided as is, without warranty of any kind.\r\n\r\n"
    "4. LIMITATION OF LIABILITY. In no event shall the makers be liable for any damages arising "
    "out of the use of or inability to use the Software.\r\n",
};

} // namespace SetupText
