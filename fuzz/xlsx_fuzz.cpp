// libFuzzer target: a whole file, as an .xlsx arrives.
#include <cstddef>
#include <cstdint>

#include "workbook_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::fuzz::ReadWholeWorkbook(
      QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
      vx::fuzz::Input::File);
  return 0;
}
