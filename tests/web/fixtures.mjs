// Sets for the browser tests, made from the bundled demo set: LZH and ZIP archives with
// Shift_JIS member names (one whose second byte is 0x5C), stored so that no archiver is needed,
// and a broken archive. PNGs from tavro-render are read back with a small decoder.
import {mkdirSync, readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {inflateSync} from 'node:zlib';

const CRC_TABLE = Array.from({length: 256}, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(data) {
  let c = 0xffffffff;
  for (const b of data) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function crc16(data) {
  let crc = 0;
  for (const b of data) {
    crc ^= b;
    for (let i = 0; i < 8; ++i) crc = crc & 1 ? (crc >>> 1) ^ 0xa001 : crc >>> 1;
  }
  return crc;
}
const le = (value, bytes) => Buffer.from(Array.from({length: bytes}, (_, i) => (value >>> (8 * i)) & 0xff));

// One stored member with a level-0 header; `name` is bytes.
function lzhMember(name, data) {
  const header = Buffer.concat([Buffer.from('-lh0-'), le(data.length, 4), le(data.length, 4),
    le(0x4b170477, 4), Buffer.from([0x20, 0x00, name.length]), name, le(crc16(data), 2)]);
  let sum = 0;
  for (const b of header) sum = (sum + b) & 0xff;
  return Buffer.concat([Buffer.from([header.length, sum]), header, data]);
}
export function lzhArchive(members) {
  return Buffer.concat([...members.map(([name, data]) => lzhMember(name, data)), Buffer.from([0])]);
}

// Stored ZIP members whose names are CP932 bytes (no UTF-8 flag), as old archivers wrote them.
export function zipArchive(members) {
  const locals = [];
  const centrals = [];
  let offset = 0;
  for (const [name, data] of members) {
    const crc = crc32(data);
    const common = Buffer.concat([le(20, 2), le(0, 2), le(0, 2), le(0, 2), le(0x21, 2), le(crc, 4),
      le(data.length, 4), le(data.length, 4), le(name.length, 2), le(0, 2)]);
    const local = Buffer.concat([le(0x04034b50, 4), common, name, data]);
    centrals.push(Buffer.concat([le(0x02014b50, 4), le(20, 2), common, le(0, 2), le(0, 2), le(0, 2),
      le(0, 4), le(offset, 4), name]));
    locals.push(local);
    offset += local.length;
  }
  const central = Buffer.concat(centrals);
  const end = Buffer.concat([le(0x06054b50, 4), le(0, 2), le(0, 2), le(members.length, 2),
    le(members.length, 2), le(central.length, 4), le(offset, 4), le(0, 2)]);
  return Buffer.concat([...locals, central, end]);
}

// The demo set with two of its cels renamed in Shift_JIS: 体.cel (0x91 0xCC) and 表.cel, whose
// second byte is the backslash 0x5C. Returns [name bytes, data] pairs.
export function japaneseDemo(demoDir) {
  const renames = new Map([
    ['body.cel', Buffer.from([0x91, 0xcc, 0x2e, 0x63, 0x65, 0x6c])],
    ['sundress.cel', Buffer.from([0x95, 0x5c, 0x2e, 0x63, 0x65, 0x6c])],
  ]);
  let config = readFileSync(`${demoDir}/demo.cnf`);
  for (const [from, to] of renames) {
    const at = config.indexOf(from);
    config = Buffer.concat([config.subarray(0, at), to, config.subarray(at + from.length)]);
  }
  const members = [[Buffer.from([0x90, 0x6c, 0x8c, 0x60, 0x2e, 0x63, 0x6e, 0x66]), config]];  // 人形.cnf
  for (const file of readdirSync(demoDir).sort()) {
    if (file === 'demo.cnf' || file === 'README.md') continue;
    members.push([renames.get(file) || Buffer.from(file), readFileSync(`${demoDir}/${file}`)]);
  }
  return members;
}

export function plainDemo(demoDir) {
  return readdirSync(demoDir).filter((f) => f !== 'README.md').sort()
    .map((f) => [Buffer.from(f), readFileSync(`${demoDir}/${f}`)]);
}

// The demo set with a palette file and a cel it names missing, and a "debug(" text in
// "initialize(" and in "begin(": every kind of box an open shows, in one set.
export function messagesDemo(demoDir) {
  const config = readFileSync(`${demoDir}/demo.cnf`, 'latin1')
    .replace('%clothes.kcf\n', '%clothes.kcf\n%lost.kcf\n')
    .replace('#5 bubble.cel', '#5 bubbel.cel')
    .replace(';@initialize() ', ';@initialize() debug("from initialize") ') + ';@begin() debug("from begin")\n';
  return [[Buffer.from('demo.cnf'), Buffer.from(config, 'latin1')],
    ...plainDemo(demoDir).filter(([name]) => name.toString() !== 'demo.cnf')];
}

// {width, height, rgba} of an 8-bit, non-interlaced PNG (grey, RGB, palette or RGBA).
export function decodePng(file) {
  const png = readFileSync(file);
  let pos = 8;
  let width = 0, height = 0, type = 0, palette = null;
  const idat = [];
  while (pos < png.length) {
    const length = png.readUInt32BE(pos);
    const kind = png.toString('latin1', pos + 4, pos + 8);
    const body = png.subarray(pos + 8, pos + 8 + length);
    if (kind === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[12] !== 0) throw new Error('only 8-bit non-interlaced PNGs');
      type = body[9];
    } else if (kind === 'PLTE') palette = body;
    else if (kind === 'IDAT') idat.push(body);
    pos += 12 + length;
  }
  const channels = {0: 1, 2: 3, 3: 1, 6: 4}[type];
  const raw = inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; ++x) {
      const a = x >= channels ? rows[y * stride + x - channels] : 0;
      const b = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const c = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
      let v = line[x];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      rows[y * stride + x] = v & 0xff;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let i = 0; i < width * height; ++i) {
    const px = rows.subarray(i * channels, (i + 1) * channels);
    const rgb = type === 3 ? palette.subarray(px[0] * 3, px[0] * 3 + 3)
      : type === 0 ? [px[0], px[0], px[0]] : px;
    rgba[i * 4] = rgb[0];
    rgba[i * 4 + 1] = rgb[1];
    rgba[i * 4 + 2] = rgb[2];
    rgba[i * 4 + 3] = 255;
  }
  return {width, height, rgba};
}

// Writes into `dir` the sets whose opens go wrong: `messages/` (the demo with load messages and
// "debug(" texts) and `broken.lzh`, an LZH header whose checksum is wrong, followed by nothing useful.
export function writeTroubledSets(dir, demoDir) {
  mkdirSync(join(dir, 'messages'));
  for (const [name, data] of messagesDemo(demoDir)) writeFileSync(join(dir, 'messages', name.toString()), data);
  writeFileSync(join(dir, 'broken.lzh'), Buffer.from('\x16\x00-lh5-garbage that is no archive', 'latin1'));
}
