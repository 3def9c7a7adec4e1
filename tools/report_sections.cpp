#include "tools/report.h"

namespace orva::tool {

void ReportSections(cORVABookBase& /*book*/) {}

}  // namespace orva::tool
