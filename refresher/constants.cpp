#include "refresher/constants.h"

namespace pelmora::refresher {

const ConstantArea kConstants = {"Pelmora", "", 1000.0};

}  // namespace pelmora::refresher
