/* zvbi_page_cache FILE.ts: libzvbi's counterpart of `tolvane save` for bench/compare. The
 * teletext PES of one PID go through libzvbi's DVB PES demultiplexer into a vbi_decoder, which
 * decodes every page into its page cache. The PID is the one tolvane chooses: the lowest that a
 * PMT marks with a teletext descriptor, else the lowest carrying a PES with stream_id 0xBD and
 * an EBU data_identifier (0x10..0x1F). Prints what was received, so the work cannot be left out
 * and the result can be held against tolvane's.
 *
 * zvbi_page_cache FILE.ts --text[=1.5]: after the same reception, every cached subpage formatted
 * at Level 1 (no enhancements), or with =1.5 at Level 1.5 (the characters packets X/26 place),
 * for tests/peer/zvbi-page-text.sh: a line "page PPP SSSS" (the page
 * number, the subcode in decimal as tolvane numbers it), then rows 1..23 of 40 cells in UTF-8.
 * A mosaic cell is U+FFFC (left out of the comparison); a concealed cell and the lower half of
 * a double-height row are spaces, as `tolvane text` prints them without --reveal. */
#define _DEFAULT_SOURCE /* MAP_POPULATE */
#include <fcntl.h>
#include <libzvbi.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

enum {
  kPacketSize = 188,
  kPidCount = 0x2000,
  kFirstPage = 0x100,
  kPageCount = 0x800,
  kSubpageCount = VBI_ANY_SUBNO + 1,
  kStreamIdPrivate1 = 0xBD,
  kTableIdPat = 0x00,
  kTableIdPmt = 0x02,
  kTeletextDescriptor = 0x56,
};

/* The payload of one transport packet; empty when it has none. */
typedef struct {
  const uint8_t* data;
  unsigned size;
  unsigned pid;
  int unit_start;
  int transport_error;
  int continuity;
} ts_packet;

static ts_packet parse_packet(const uint8_t* p) {
  ts_packet t = {NULL, 0, (unsigned)(p[1] & 0x1F) << 8 | p[2], (p[1] & 0x40) != 0, (p[1] & 0x80) != 0, p[3] & 0x0F};
  const unsigned control = p[3] >> 4 & 3;
  unsigned offset = 4;
  if (control & 2) offset += 1u + p[4];
  if ((control & 1) && offset < kPacketSize) {
    t.data = p + offset;
    t.size = kPacketSize - offset;
  }
  return t;
}

/* The section a packet starts, when it starts one and the section fits in it (the PAT and PMT
 * of the recordings do); returns its length including the header, 0 otherwise. */
static unsigned section_in_packet(const ts_packet* t, const uint8_t** section) {
  if (!t->unit_start || t->size < 1 || 1u + t->data[0] + 3 > t->size) return 0;
  *section = t->data + 1 + t->data[0];
  const unsigned length = 3u + ((unsigned)((*section)[1] & 0x0F) << 8 | (*section)[2]);
  return (size_t)(*section - t->data) + length <= t->size && length >= 12 ? length : 0;
}

typedef struct {
  unsigned char is_pmt[kPidCount];
  unsigned pmt_teletext; /* lowest PID a PMT marks as teletext; kPidCount if none */
  unsigned pes_teletext; /* lowest PID with a teletext PES start; kPidCount if none */
} pid_scan;

static void scan_pat(pid_scan* scan, const uint8_t* s, unsigned length) {
  if (s[0] != kTableIdPat) return;
  for (unsigned i = 8; i + 4 + 4 <= length; i += 4) {
    const unsigned program = (unsigned)s[i] << 8 | s[i + 1];
    if (program != 0) scan->is_pmt[(s[i + 2] & 0x1F) << 8 | s[i + 3]] = 1;
  }
}

static void scan_pmt(pid_scan* scan, const uint8_t* s, unsigned length) {
  if (s[0] != kTableIdPmt) return;
  const unsigned end = length - 4; /* the CRC */
  unsigned i = 12 + ((unsigned)(s[10] & 0x0F) << 8 | s[11]);
  while (i + 5 <= end) {
    const unsigned pid = (unsigned)(s[i + 1] & 0x1F) << 8 | s[i + 2];
    const unsigned info_end = i + 5 + ((unsigned)(s[i + 3] & 0x0F) << 8 | s[i + 4]);
    for (unsigned d = i + 5; d + 2 <= info_end && info_end <= end; d += 2u + s[d + 1]) {
      if (s[d] == kTeletextDescriptor && pid < scan->pmt_teletext) scan->pmt_teletext = pid;
    }
    i = info_end;
  }
}

static int starts_teletext_pes(const ts_packet* t) {
  const uint8_t* d = t->data;
  if (!t->unit_start || t->size < 9 || d[0] != 0 || d[1] != 0 || d[2] != 1 || d[3] != kStreamIdPrivate1) return 0;
  const unsigned identifier_at = 9u + d[8];
  return identifier_at < t->size && d[identifier_at] >= 0x10 && d[identifier_at] <= 0x1F;
}

/* Looks at the whole input, as tolvane does, before anything is decoded. */
static unsigned choose_teletext_pid(const uint8_t* input, size_t size) {
  pid_scan* scan = calloc(1, sizeof *scan);
  if (scan == NULL) return kPidCount;
  scan->pmt_teletext = scan->pes_teletext = kPidCount;
  for (size_t at = 0; at + kPacketSize <= size; at += kPacketSize) {
    if (input[at] != 0x47) continue;
    const ts_packet t = parse_packet(input + at);
    if (t.transport_error || t.data == NULL) continue;
    const uint8_t* section;
    const unsigned length = section_in_packet(&t, &section);
    if (t.pid == 0 && length > 0) {
      scan_pat(scan, section, length);
    } else if (scan->is_pmt[t.pid] && length > 0) {
      scan_pmt(scan, section, length);
    } else if (t.pid < scan->pes_teletext && starts_teletext_pes(&t)) {
      scan->pes_teletext = t.pid;
    }
  }
  const unsigned pid = scan->pmt_teletext < kPidCount ? scan->pmt_teletext : scan->pes_teletext;
  free(scan);
  return pid;
}

typedef struct {
  vbi_decoder* decoder;
  double clock;
  unsigned long teletext_lines;
  unsigned long page_events;
  unsigned char page_seen[kPageCount];
  unsigned char* subpage_seen; /* one bit per page and subcode */
  unsigned pages;
  unsigned subpages;
} reception;

static vbi_bool on_sliced(vbi_dvb_demux* demux, void* user_data, const vbi_sliced* sliced, unsigned int lines,
                          int64_t pts) {
  (void)demux;
  (void)pts;
  reception* r = user_data;
  for (unsigned i = 0; i < lines; ++i) r->teletext_lines += (sliced[i].id & VBI_SLICED_TELETEXT_B) != 0;
  /* vbi_decode takes a step of its clock other than one frame for dropped frames, and 40 frames
   * later for a channel switch that empties the cache. The recordings have gaps and the repeated
   * ones jump back at every join, so the clock is the frame count, not the time stamps. */
  r->clock += 1.0 / 25;
  vbi_decode(r->decoder, (vbi_sliced*)sliced, (int)lines, r->clock);
  return TRUE;
}

static void on_page(vbi_event* event, void* user_data) {
  reception* r = user_data;
  ++r->page_events;
  const unsigned page = (unsigned)event->ev.ttx_page.pgno - kFirstPage;
  const unsigned subno = (unsigned)event->ev.ttx_page.subno;
  if (page >= kPageCount || subno >= kSubpageCount) return;
  const size_t bit = (size_t)page * kSubpageCount + subno;
  if (r->subpage_seen[bit / 8] & 1u << bit % 8) return;
  r->subpage_seen[bit / 8] |= (unsigned char)(1u << bit % 8);
  ++r->subpages;
  if (!r->page_seen[page]) ++r->pages;
  r->page_seen[page] = 1;
}

/* Hands the PID's PES packets to the demultiplexer, each once it is complete. libzvbi's PES
 * demultiplexer trusts PES_packet_length: one corrupt length (the Animal Planet recording has
 * one of 49770 bytes) would make it swallow the PES packets that follow. So a PES cut short by a
 * continuity gap or by the next PES is dropped here, as tolvane's reader drops it. */
typedef struct {
  uint8_t bytes[6 + 0xFFFF];
  size_t size;
  size_t expected; /* 0: not collecting */
  int last_continuity;
} pes_collector;

static void collect_payload(pes_collector* c, vbi_dvb_demux* demux, const ts_packet* t) {
  if (t->unit_start) {
    c->size = 0;
    c->expected = t->size >= 6 ? 6u + ((unsigned)t->data[4] << 8 | t->data[5]) : 0;
    if (c->expected == 6) c->expected = 0; /* unbounded: not how teletext is carried */
  }
  if (c->expected == 0) return;
  const size_t take = t->size < c->expected - c->size ? t->size : c->expected - c->size;
  memcpy(c->bytes + c->size, t->data, take);
  c->size += take;
  if (c->size == c->expected) {
    vbi_dvb_demux_feed(demux, c->bytes, (unsigned)c->size);
    c->expected = 0;
  }
}

static void feed_pid(vbi_dvb_demux* demux, const uint8_t* input, size_t size, unsigned pid) {
  static pes_collector c;
  c.expected = 0;
  c.last_continuity = -1;
  for (size_t at = 0; at + kPacketSize <= size; at += kPacketSize) {
    if (input[at] != 0x47) continue;
    const ts_packet t = parse_packet(input + at);
    if (t.pid != pid || t.data == NULL) continue;
    if (t.transport_error) {
      c.expected = 0;
      continue;
    }
    if (t.continuity == c.last_continuity) continue; /* a repeated packet */
    if (c.last_continuity >= 0 && t.continuity != ((c.last_continuity + 1) & 0x0F)) c.expected = 0;
    c.last_continuity = t.continuity;
    collect_payload(&c, demux, &t);
  }
}

/* The file mapped, as tolvane maps its input: both read the page cache in place, so the times
 * compare decoding, not ways of reading a file. */
static uint8_t* map_file(const char* path, size_t* size) {
  const int descriptor = open(path, O_RDONLY);
  if (descriptor < 0) return NULL;
  struct stat status;
  void* address = MAP_FAILED;
  if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    *size = (size_t)status.st_size;
    address = mmap(NULL, *size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
  }
  close(descriptor);
  return address == MAP_FAILED ? NULL : (uint8_t*)address;
}

static void put_utf8(unsigned cp) {
  if (cp < 0x80) {
    putchar((int)cp);
  } else if (cp < 0x800) {
    putchar((int)(0xC0 | cp >> 6));
    putchar((int)(0x80 | (cp & 0x3F)));
  } else {
    putchar((int)(0xE0 | cp >> 12));
    putchar((int)(0x80 | (cp >> 6 & 0x3F)));
    putchar((int)(0x80 | (cp & 0x3F)));
  }
}

static int is_decimal_bcd(unsigned value, unsigned digits) {
  for (unsigned i = 0; i < digits; ++i, value >>= 4) {
    if ((value & 0xF) > 9) return 0;
  }
  return 1;
}

static unsigned bcd_to_decimal(unsigned value) {
  unsigned result = 0;
  for (unsigned scale = 1; value != 0; value >>= 4, scale *= 10) result += (value & 0xF) * scale;
  return result;
}

static void print_page_texts(const reception* r, vbi_wst_level level) {
  static vbi_page pg;
  for (unsigned page = 0; page < kPageCount; ++page) {
    if (!r->page_seen[page] || !is_decimal_bcd(page + kFirstPage, 3)) continue;
    for (unsigned subno = 0; subno < kSubpageCount; ++subno) {
      const size_t bit = (size_t)page * kSubpageCount + subno;
      if (!(r->subpage_seen[bit / 8] & 1u << bit % 8) || !is_decimal_bcd(subno, 4)) continue;
      if (!vbi_fetch_vt_page(r->decoder, &pg, (vbi_pgno)(page + kFirstPage), (vbi_subno)subno, level, 24, FALSE)) {
        continue;
      }
      printf("page %x %u\n", page + kFirstPage, bcd_to_decimal(subno));
      for (int row = 1; row < 24; ++row) {
        for (int column = 0; column < 40; ++column) {
          const vbi_char* c = &pg.text[row * pg.columns + column];
          unsigned cp = c->unicode;
          if (vbi_is_gfx(cp)) {
            cp = 0xFFFC;
          } else if (c->conceal || c->size == VBI_DOUBLE_HEIGHT2 || c->size == VBI_DOUBLE_SIZE2) {
            cp = ' ';
          }
          put_utf8(cp);
        }
        putchar('\n');
      }
      vbi_unref_page(&pg);
    }
  }
}

int main(int argc, char** argv) {
  const int level15 = argc == 3 && strcmp(argv[2], "--text=1.5") == 0;
  const int text = level15 || (argc == 3 && strcmp(argv[2], "--text") == 0);
  if (argc != 2 && !text) {
    fprintf(stderr, "usage: zvbi_page_cache FILE.ts [--text[=1.5]]\n");
    return 2;
  }
  size_t size = 0;
  uint8_t* input = map_file(argv[1], &size);
  if (input == NULL) {
    fprintf(stderr, "zvbi_page_cache: cannot read %s\n", argv[1]);
    return 2;
  }
  const unsigned pid = choose_teletext_pid(input, size);
  if (pid >= kPidCount) {
    fprintf(stderr, "zvbi_page_cache: no teletext in %s\n", argv[1]);
    munmap(input, size);
    return 1;
  }

  static reception r; /* zeroed */
  r.decoder = vbi_decoder_new();
  r.subpage_seen = calloc((size_t)kPageCount * kSubpageCount / 8 + 1, 1);
  vbi_dvb_demux* demux = vbi_dvb_pes_demux_new(on_sliced, &r);
  if (r.decoder == NULL || r.subpage_seen == NULL || demux == NULL ||
      !vbi_event_handler_register(r.decoder, VBI_EVENT_TTX_PAGE, on_page, &r)) {
    fprintf(stderr, "zvbi_page_cache: out of memory\n");
    return 2;
  }
  feed_pid(demux, input, size, pid);

  if (text) {
    print_page_texts(&r, level15 ? VBI_WST_LEVEL_1p5 : VBI_WST_LEVEL_1);
  } else {
    printf("pid 0x%04X: %lu teletext lines, %lu page events, %u pages, %u subpages\n", pid, r.teletext_lines,
           r.page_events, r.pages, r.subpages);
  }
  vbi_dvb_demux_delete(demux);
  vbi_decoder_delete(r.decoder);
  free(r.subpage_seen);
  munmap(input, size);
  return 0;
}
