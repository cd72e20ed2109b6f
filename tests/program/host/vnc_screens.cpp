// morvet-vnc-screens SOCKET LEFT,TOP,WIDTH,HEIGHT...
// Asks TigerVNC's Xvnc, over its unix socket, for a desktop of several screens,
// as a VNC client with several monitors does: Xvnc then shows each as a RandR
// output (VNC-0, VNC-1, ...), which xrandr alone cannot add. Speaks just enough
// of RFB 3.8 for that, without security. Exit status 0 once the request is sent.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool readAll(int fd, void* data, size_t size) {
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    const ssize_t got = read(fd, bytes, size);
    if (got <= 0) return false;
    bytes += got;
    size -= size_t(got);
  }
  return true;
}

bool writeAll(int fd, const std::vector<uint8_t>& data) {
  return write(fd, data.data(), data.size()) == ssize_t(data.size());
}

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value >> 8));
  out.push_back(uint8_t(value));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value >> 16);
  put16(out, value & 0xFFFF);
}

uint32_t get32(const uint8_t* in) {
  return uint32_t(in[0]) << 24 | uint32_t(in[1]) << 16 | uint32_t(in[2]) << 8 | in[3];
}

struct Screen {
  unsigned left, top, width, height;
};

bool handshake(int fd) {
  char version[12];
  if (!readAll(fd, version, sizeof version)) return false;
  if (!writeAll(fd, {'R', 'F', 'B', ' ', '0', '0', '3', '.', '0', '0', '8', '\n'})) return false;
  uint8_t typeCount = 0;
  if (!readAll(fd, &typeCount, 1) || typeCount == 0) return false;
  std::vector<uint8_t> types(typeCount);
  if (!readAll(fd, types.data(), typeCount)) return false;
  if (!writeAll(fd, {1})) return false;  // no security
  uint8_t result[4];
  if (!readAll(fd, result, 4) || get32(result) != 0) return false;
  if (!writeAll(fd, {1})) return false;  // shared
  uint8_t serverInit[24];
  if (!readAll(fd, serverInit, sizeof serverInit)) return false;
  std::vector<uint8_t> name(get32(serverInit + 20));
  return name.empty() || readAll(fd, name.data(), name.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: morvet-vnc-screens SOCKET LEFT,TOP,WIDTH,HEIGHT...\n");
    return 2;
  }
  std::vector<Screen> screens;
  unsigned totalWidth = 0, totalHeight = 0;
  for (int i = 2; i < argc; ++i) {
    Screen s{};
    if (std::sscanf(argv[i], "%u,%u,%u,%u", &s.left, &s.top, &s.width, &s.height) != 4) return 2;
    screens.push_back(s);
    if (s.left + s.width > totalWidth) totalWidth = s.left + s.width;
    if (s.top + s.height > totalHeight) totalHeight = s.top + s.height;
  }

  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, argv[1], sizeof address.sun_path - 1);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::perror("connect");
    return 1;
  }
  if (!handshake(fd)) {
    std::fprintf(stderr, "the RFB handshake failed\n");
    return 1;
  }
  std::vector<uint8_t> out = {2, 0};  // SetEncodings: raw and ExtendedDesktopSize
  put16(out, 2);
  put32(out, 0);
  put32(out, uint32_t(-308));
  out.push_back(3);  // FramebufferUpdateRequest of the whole desktop
  out.push_back(0);
  put16(out, 0);
  put16(out, 0);
  put16(out, totalWidth);
  put16(out, totalHeight);
  out.push_back(251);  // SetDesktopSize
  out.push_back(0);
  put16(out, totalWidth);
  put16(out, totalHeight);
  out.push_back(uint8_t(screens.size()));
  out.push_back(0);
  for (size_t id = 0; id < screens.size(); ++id) {
    put32(out, uint32_t(id));
    put16(out, screens[id].left);
    put16(out, screens[id].top);
    put16(out, screens[id].width);
    put16(out, screens[id].height);
    put32(out, 0);
  }
  if (!writeAll(fd, out)) return 1;
  // The server answers with the new layout; a moment to read it keeps the
  // request from being cut off by the close.
  uint8_t answer[256];
  timeval wait{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  while (read(fd, answer, sizeof answer) > 0) {}
  close(fd);
  return 0;
}
