#include "CrashReport.h"

#include <elf.h>
#include <execinfo.h>
#include <fcntl.h>
#include <link.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

struct CrashSignal {
  int number;
  const char* name;
};
const CrashSignal kSignals[] = {{SIGSEGV, "segmentation fault"},
                                {SIGBUS, "bus error"},
                                {SIGILL, "illegal instruction"},
                                {SIGFPE, "arithmetic exception"},
                                {SIGABRT, "aborted"}};

char g_prefix[64] = "tarn";
// The handler runs here: a stack overflow leaves no room on the thread's own.
// Threads the program starts make their own (tarn::ThreadSignalStack).
alignas(16) char g_altStack[64 * 1024];

// Where the program itself is loaded, found at install time: the handler
// tells its own frames from the libraries' and resolves them from the
// program file's symbol table.
uintptr_t g_loadBias = 0;
uintptr_t g_programStart = 0;
uintptr_t g_programEnd = 0;
char g_buildId[2 * 32 + 1] = "";

constexpr int kMaxFrames = 64;

void Say(const char* text, size_t length) {
  while (length > 0) {
    const ssize_t n = write(STDERR_FILENO, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}
void Say(const char* text) { Say(text, std::strlen(text)); }

void SayHex(uintptr_t value) {
  char digits[2 + 2 * sizeof value];
  size_t at = sizeof digits;
  do {
    digits[--at] = "0123456789abcdef"[value & 15];
    value >>= 4;
  } while (value != 0);
  digits[--at] = 'x';
  digits[--at] = '0';
  Say(digits + at, sizeof digits - at);
}

void SayNumber(unsigned value) {
  char digits[12];
  size_t at = sizeof digits;
  do {
    digits[--at] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  Say(digits + at, sizeof digits - at);
}

bool ReadAt(int fd, void* into, size_t size, uint64_t offset) {
  return pread(fd, into, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

// The function of each frame in the program: the symbol whose range holds
// the frame's address (a return address, so one byte back: the call).
// Leaves names[i] at 0 where none does. One pass over the symbol table.
struct Resolved {
  uint64_t nameOffset = 0;  // into the string table; 0: not found
  uint64_t start = 0;       // the function's address in the file
};
bool ResolveFrames(int fd, const uintptr_t* offsets, int count, Resolved* resolved, uint64_t& strings) {
  Elf64_Ehdr header;
  if (!ReadAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr))
    return false;
  Elf64_Shdr symbols{}, names{};
  bool found = false;
  for (unsigned i = 0; i < header.e_shnum && !found; ++i) {
    Elf64_Shdr section;
    if (!ReadAt(fd, &section, sizeof section, header.e_shoff + uint64_t{i} * sizeof section)) return false;
    if (section.sh_type != SHT_SYMTAB || section.sh_entsize != sizeof(Elf64_Sym)) continue;
    if (!ReadAt(fd, &names, sizeof names, header.e_shoff + uint64_t{section.sh_link} * sizeof names)) return false;
    symbols = section;
    found = true;
  }
  if (!found) return false;
  strings = names.sh_offset;
  Elf64_Sym chunk[64];
  const uint64_t total = symbols.sh_size / sizeof(Elf64_Sym);
  for (uint64_t first = 0; first < total; first += 64) {
    const uint64_t n = total - first < 64 ? total - first : 64;
    if (!ReadAt(fd, chunk, n * sizeof(Elf64_Sym), symbols.sh_offset + first * sizeof(Elf64_Sym))) return false;
    for (uint64_t k = 0; k < n; ++k) {
      const Elf64_Sym& s = chunk[k];
      if (ELF64_ST_TYPE(s.st_info) != STT_FUNC || s.st_name == 0 || s.st_size == 0) continue;
      for (int f = 0; f < count; ++f) {
        const uint64_t at = offsets[f] - 1;
        if (at >= s.st_value && at < s.st_value + s.st_size) resolved[f] = {s.st_name, s.st_value};
      }
    }
  }
  return true;
}

void SayName(int fd, uint64_t offset) {
  char name[512];
  const ssize_t got = pread(fd, name, sizeof name, static_cast<off_t>(offset));
  if (got <= 0) return;
  size_t length = 0;
  while (length < static_cast<size_t>(got) && name[length] != '\0') ++length;
  Say(name, length);
}

// "#3 _ZN13TarnFramework10SystemBase8RunFrameEv+0x1a5 (tarn+0x2f1a5)" for the
// program's frames; the libraries' as glibc names them.
void SayFrames(void* const* frames, int count) {
  uintptr_t offsets[kMaxFrames] = {};
  Resolved resolved[kMaxFrames];
  uint64_t strings = 0;
  for (int i = 0; i < count; ++i) {
    const uintptr_t pc = reinterpret_cast<uintptr_t>(frames[i]);
    if (pc > g_programStart && pc <= g_programEnd) offsets[i] = pc - g_loadBias;
  }
  const int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
  const bool haveSymbols = fd >= 0 && ResolveFrames(fd, offsets, count, resolved, strings);
  for (int i = 0; i < count; ++i) {
    Say("#");
    SayNumber(static_cast<unsigned>(i));
    Say(" ");
    if (!offsets[i]) {
      backtrace_symbols_fd(&frames[i], 1, STDERR_FILENO);
      continue;
    }
    if (haveSymbols && resolved[i].nameOffset) {
      SayName(fd, strings + resolved[i].nameOffset);
      Say("+");
      SayHex(offsets[i] - resolved[i].start);
      Say(" ");
    }
    Say("(");
    Say(g_prefix);
    Say("+");
    SayHex(offsets[i]);
    Say(")\n");
  }
  if (fd >= 0) close(fd);
}

// Only calls that are safe in a signal handler, or already made once.
void OnCrash(int number) {
  const char* name = "signal";
  for (const CrashSignal& s : kSignals)
    if (s.number == number) name = s.name;
  Say(g_prefix);
  Say(": crashed: ");
  Say(name);
  Say("\n");
  if (g_buildId[0]) {
    Say(g_prefix);
    Say(": build id ");
    Say(g_buildId);
    Say("\n");
  }
  void* frames[kMaxFrames];
  SayFrames(frames, backtrace(frames, kMaxFrames));
  // The handler was reset on entry: the signal now ends the process.
  raise(number);
}

// The program is the first object the dynamic linker lists.
int NoteProgram(dl_phdr_info* info, size_t, void*) {
  g_loadBias = info->dlpi_addr;
  uintptr_t low = UINTPTR_MAX, high = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type == PT_LOAD) {
      if (segment.p_vaddr < low) low = segment.p_vaddr;
      if (segment.p_vaddr + segment.p_memsz > high) high = segment.p_vaddr + segment.p_memsz;
    }
    if (segment.p_type != PT_NOTE) continue;
    const char* note = reinterpret_cast<const char*>(info->dlpi_addr + segment.p_vaddr);
    for (size_t at = 0; at + sizeof(ElfW(Nhdr)) <= segment.p_memsz;) {
      const auto* n = reinterpret_cast<const ElfW(Nhdr)*>(note + at);
      const size_t nameSize = (n->n_namesz + 3) & ~size_t{3};
      const size_t descSize = (n->n_descsz + 3) & ~size_t{3};
      const auto* desc = reinterpret_cast<const unsigned char*>(note + at + sizeof *n + nameSize);
      if (n->n_type == NT_GNU_BUILD_ID && n->n_namesz == 4 && std::memcmp(note + at + sizeof *n, "GNU", 4) == 0) {
        for (size_t k = 0; k < n->n_descsz && k < 32; ++k) {
          g_buildId[2 * k] = "0123456789abcdef"[desc[k] >> 4];
          g_buildId[2 * k + 1] = "0123456789abcdef"[desc[k] & 15];
          g_buildId[2 * k + 2] = '\0';
        }
      }
      at += sizeof *n + nameSize + descSize;
    }
  }
  if (low < high) {
    g_programStart = info->dlpi_addr + low;
    g_programEnd = info->dlpi_addr + high;
  }
  return 1;
}

}  // namespace

void InstallCrashReport(const char* programName) {
  if (programName && programName[0]) {
    std::strncpy(g_prefix, programName, sizeof g_prefix - 1);
    g_prefix[sizeof g_prefix - 1] = '\0';
  }
  dl_iterate_phdr(NoteProgram, nullptr);
  // The first backtrace loads the unwinder; that must not happen in the handler.
  void* warmUp[1];
  backtrace(warmUp, 1);
  stack_t stack{};
  stack.ss_sp = g_altStack;
  stack.ss_size = sizeof g_altStack;
  const bool ownStack = sigaltstack(&stack, nullptr) == 0;
  for (const CrashSignal& s : kSignals) {
    struct sigaction current {};
    if (sigaction(s.number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction crash {};
    crash.sa_handler = OnCrash;
    sigemptyset(&crash.sa_mask);
    crash.sa_flags = SA_RESETHAND | SA_NODEFER | (ownStack ? SA_ONSTACK : 0);
    sigaction(s.number, &crash, nullptr);
  }
}
