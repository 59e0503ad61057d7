// Directory listings hand the core the bytes of each name (see web-paths.js): the same
// listing as the file system's own, with the name written byte for byte.
mergeInto(LibraryManager.library, {
  __syscall_getdents64__deps: ['$FS', '$SYSCALLS'],
  __syscall_getdents64: function (fd, dirp, count) {
    try {
      const stream = SYSCALLS.getStreamFromFD(fd);
      if (!stream.getdents) stream.getdents = FS.readdir(stream.path);
      const structSize = 280;
      let pos = 0;
      const off = FS.llseek(stream, 0, 1);
      let idx = Math.floor(off / structSize);
      while (idx < stream.getdents.length && pos + structSize <= count) {
        const name = stream.getdents[idx];
        let id;
        let type;
        if (name === '.') {
          id = stream.node.id;
          type = 4;
        } else if (name === '..') {
          id = FS.lookupPath(stream.path, {parent: true}).node.id;
          type = 4;
        } else {
          const child = FS.lookupNode(stream.node, name);
          id = child.id;
          type = FS.isChrdev(child.mode) ? 2 : FS.isDir(child.mode) ? 4 : FS.isLink(child.mode) ? 10 : 8;
        }
        HEAP32[(dirp + pos) >> 2] = id;
        HEAP32[(dirp + pos + 4) >> 2] = 0;
        HEAP32[(dirp + pos + 8) >> 2] = (idx + 1) * structSize;
        HEAP32[(dirp + pos + 12) >> 2] = 0;
        HEAP16[(dirp + pos + 16) >> 1] = structSize;
        HEAP8[dirp + pos + 18] = type;
        const length = Math.min(name.length, 255);
        for (let i = 0; i < length; ++i) HEAPU8[dirp + pos + 19 + i] = name.charCodeAt(i) & 255;
        HEAPU8[dirp + pos + 19 + length] = 0;
        pos += structSize;
        idx += 1;
      }
      FS.llseek(stream, idx * structSize, 0);
      return pos;
    } catch (e) {
      if (typeof FS == 'undefined' || !(e instanceof FS.ErrnoError)) throw e;
      return -e.errno;
    }
  },
});
