#include "tools/mre_program.h"

// AGD66 to GDA94 for the NSW (MRE) method.
int main() {
  return tarvo::tools::RunMreProgram(true);
}
