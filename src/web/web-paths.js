// Path names cross between the core and the in-memory file system as bytes. The file system
// would read them as UTF-8, turning a Shift_JIS name into replacement characters; here every
// byte is one character (0-255) of the JavaScript name instead, so the core gets back exactly
// the bytes it wrote, as on a Linux disk. The page writes its files under the UTF-8 bytes of
// their names in the same form (see nameBytes in web/tavro.js).
SYSCALLS.getStr = function (ptr) {
  let end = ptr;
  while (HEAPU8[end]) ++end;
  let name = '';
  for (let i = ptr; i < end; i += 4096) {
    name += String.fromCharCode.apply(null, HEAPU8.subarray(i, Math.min(end, i + 4096)));
  }
  return name;
};
