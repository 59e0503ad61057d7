// Node runs system() on the host, so a test that makes its archive with a host archiver needs its
// temporary folder where the archiver can see it: with TAVRO_WASM_HOST_TMP set, the host's /tmp is
// mounted over the in-memory one.
if (typeof process !== 'undefined' && process.env.TAVRO_WASM_HOST_TMP) {
  Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    FS.mount(NODEFS, { root: '/tmp' }, '/tmp');
  });
}
