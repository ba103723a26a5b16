#include "prvdrinfo/services/whole_file.h"

#include "services/internal/file_service.h"

namespace prvdrinfo {

void WriteWholeFile(std::string_view path, const Bytes& bytes) {
  FileService::WriteAll(path, bytes);
}

}  // namespace prvdrinfo
