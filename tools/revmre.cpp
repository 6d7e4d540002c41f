#include "tools/mre_program.h"

// GDA94 to AGD66 for the NSW (MRE) method.
int main() {
  return tarvo::tools::RunMreProgram(false);
}
