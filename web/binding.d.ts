// What the core's module (tavro-core.js) gives the page: the session's calls as the binding
// declares them, the zoom limits, the in-memory file system, and the hooks the page may set.
// Names and texts cross as bytes (Uint8Array<ArrayBuffer>); paths are byte strings, one character a byte.

export interface Rect { left: number; top: number; right: number; bottom: number; }

/** What a call changed. */
export interface Change {
  repaint: Rect;
  wholeView: boolean;
  newSet: boolean;
  setSwitched: boolean;
  commandsChanged: boolean;
  /** The drag ended inside the call: the page's pointer capture ends with it. */
  released: boolean;
  scroll: '' | 'left' | 'up' | 'right' | 'down';
  /** A held object moved by (stepX, stepY) and now covers objectBox: the view may follow it. */
  heldMoved: boolean;
  stepX: number;
  stepY: number;
  objectBox: Rect;
}

export interface Toggle { enabled: boolean; checked: boolean; }

export interface CommandStates {
  loaded: boolean;
  canSave: boolean;
  sets: Toggle[];
  groups: Toggle[];
  colour256: boolean;
  trueColour: boolean;
}

export interface OpenResult {
  opened: boolean;
  messages: Uint8Array<ArrayBuffer>[];
  /** An archive's configuration files to choose from; the open is asked again with one. */
  choices: Uint8Array<ArrayBuffer>[];
  /** Set by the page's client for an open the person cancelled. */
  cancelled?: boolean;
}

export interface SaveResult { saved: boolean; error: Uint8Array<ArrayBuffer>; }

export interface RecordResult {
  written: boolean;
  frames: number;
  recordedMs: number;
  error: Uint8Array<ArrayBuffer>;
  notes: Uint8Array<ArrayBuffer>[];
}

export interface LoadProblem { file: Uint8Array<ArrayBuffer>; line: number; kind: string; detail: Uint8Array<ArrayBuffer>; }

export interface Inspection { caption: Uint8Array<ArrayBuffer>; text: Uint8Array<ArrayBuffer>; }

/** The changed area of the picture; its pixels in pixels() lie `rowBytes` apart a row. */
export interface Picture { width: number; height: number; area: Rect; rowBytes: number; }

/** A picture in small: width * height pixels of red, green, blue, 255, rows without gaps. */
export interface Thumbnail { width: number; height: number; pixels: Uint8Array<ArrayBuffer>; }

export interface ExportResult { written: boolean; error: Uint8Array<ArrayBuffer>; }

export interface Session {
  open(path: Uint8Array<ArrayBuffer>, merge: boolean, configName: Uint8Array<ArrayBuffer>): OpenResult;
  startSet(): Change;
  newDocument(): Change;
  states(): CommandStates;
  selectSet(n: number): Change;
  selectGroup(n: number): Change;
  colourMode256(): Change;
  colourModeTrue(): Change;
  transparent50(): Change;
  adjustObjects(): Change;
  /** Each object of the shown set as [number, x, y], by number. */
  objectPositions(): [number, number, number][];
  /** Object `number` of the shown set stands at (x, y), kept on the playfield; no event runs. */
  placeObject(number: number, x: number, y: number): Change;
  press(x: number, y: number): Change;
  move(x: number, y: number): Change;
  release(): Change;
  pointerLost(): Change;
  holdsObject(): boolean;
  key(virtualKey: number): Change;
  tickCount(): number;
  runTimerPass(now: number): Change;
  nextTimerPassDelay(now: number): number;
  delayAlarms(ticks: number): void;
  save(path: Uint8Array<ArrayBuffer>): SaveResult;
  informationText(): Uint8Array<ArrayBuffer>;
  inspect(x: number, y: number): Inspection | null;
  loadReport(): LoadProblem[];
  record(path: Uint8Array<ArrayBuffer>, lengthMs: number, zoom: number): RecordResult;
  /** What an archive may unpack in all; over it the open fails with the too-large message. */
  setUnpackLimit(bytes: number): void;
  /** The folder the open archive was unpacked into, as bytes ('' for none). */
  extractedFolder(): Uint8Array<ArrayBuffer>;
  takePicture(): Picture;
  /**
   * The last taken area's pixels from its top left one, four bytes each (red, green, blue, 255),
   * valid until the next call into the module.
   */
  pixels(): Uint8Array<ArrayBuffer>;
  /** The whole picture area-averaged to fit size x size (1..1024), never enlarged; 0 x 0 with none shown. */
  thumbnail(size: number): Thumbnail;
  /** The open set's folder as a ZIP of its files as they stand, written to `path` (never itself a member). */
  exportSet(path: Uint8Array<ArrayBuffer>): ExportResult;
  takeSounds(): Uint8Array<ArrayBuffer>[];
  takeDebugTexts(): Uint8Array<ArrayBuffer>[];
  delete(): void;
}

/** The part of emscripten's file system the page uses. */
export interface FileSystem {
  mkdirTree(path: string): void;
  writeFile(path: string, data: Uint8Array<ArrayBuffer>): void;
  readFile(path: string): Uint8Array<ArrayBuffer>;
  readdir(path: string): string[];
  stat(path: string): { mode: number };
  isDir(mode: number): boolean;
  unlink(path: string): void;
  rmdir(path: string): void;
  analyzePath(path: string): { exists: boolean };
}

export interface CoreModule {
  Session: new () => Session;
  minZoom: number;
  maxZoom: number;
  maxChosenZoom: number;
  FS: FileSystem;
  /** The core's clock in ms, when set; else the browser's. */
  tavroNow?: () => number;
  /** A script's "debug(" text; the script waits until this returns. Unset, the texts queue. */
  tavroDebugText?: (text: Uint8Array<ArrayBuffer>) => void;
  /** A long open's progress, at most every ~30 ms. */
  tavroProgress?: (phase: 'unpack' | 'cels', count: number, total: number) => void;
}

export type CoreFactory = (options?: { locateFile?: (name: string) => string }) => Promise<CoreModule>;

declare global {
  /** The core's module factory, from tavro-core.js. */
  const TavroCore: CoreFactory;
}
