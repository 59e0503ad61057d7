// The page's state, all of it in one object that the modules are handed: nothing else of the
// page's changes after it has started.

/**
 * @typedef {object} PageState
 * @property {import('./core-client.js').CoreClient} client the core, behind its client
 * @property {{minZoom: number, maxZoom: number, maxChosenZoom: number}} limits the zoom's steps
 * @property {number} zoom the picture's zoom factor (fractional at a fit or after a pinch)
 * @property {boolean} fit the picture follows the stage's size, as large as fits whole
 * @property {{path: string, name: string, handle: FileSystemFileHandle|null}} config the
 *   configuration open: its path in the core's file system (bytes), its name as the person knows
 *   it, and where the browser lets the page write it back
 * @property {{id: number}} pointer the pointer that holds the capture (-1 for none)
 * @property {boolean} shiftAtPick Shift was held for the click that opened the file picker
 * @property {HTMLAudioElement|null} sound the sound playing
 * @property {boolean} loaded a set is loaded (the core's command states say so): only then is
 *   the picture shown
 * @property {import('./names.js').OpenPlaces} places where the open's files are, to name them as
 *   the person knows them
 * @property {{x: number, y: number}} dragScroll how far the view has followed the held object
 *   during this drag: the pointer counts as moved back by that much, as the window moves it
 * @property {{x: number, y: number, mapX: number, mapY: number, timer: number} | null} touch a
 *   finger down that has neither moved nor rested long enough to inspect: its press waits
 * @property {string} link the URL the set open now came from ('' for a set from this device's
 *   files, which no link can point at)
 * @property {Map<number, Map<number, [number, number]>>} sceneBases where each set showed its
 *   objects when it first showed after the open, by set and object number: a scene link gives
 *   the objects that stand elsewhere now
 * @property {Map<number, {x: number, y: number}>} fingers the fingers on the stage, by pointer
 * @property {import('./touch.js').Pinch | null} pinch two fingers zooming
 * @property {{active: boolean, x: number, y: number} | null} panning a finger that pressed on an
 *   empty part of the picture pans it (once `active`), last at (x, y)
 * @property {{point: {x: number, y: number}, time: number} | null} lastTap the last tap, for
 *   double taps
 * @property {boolean} fullscreen the stage fills the screen (or the window, without the API)
 * @property {number} noticeTimer the timeout that hides the notice shown
 * @property {import('./shelf.js').Shelf | null} shelf the sets kept in the browser (null until wired)
 * @property {string} shelfId the kept set open now ('' while it is not, or not yet, kept)
 * @property {Promise<import('./shelf-format.js').ShelfMeta | null>} shelving the keeping of the set
 *   open now, once it is over
 * @property {number | undefined} shelfLimit the most the shelf may hold, below what the browser
 *   grants (a test's small storage)
 */

/**
 * @param {import('./core-client.js').CoreClient} client
 * @returns {PageState}
 */
export function createState(client) {
  return {
    client,
    limits: client.constants,
    zoom: client.constants.minZoom,
    config: {path: '', name: '', handle: null},
    pointer: {id: -1},
    shiftAtPick: false,
    sound: null,
    loaded: false,
    places: {folder: '', extracted: '', archive: ''},
    dragScroll: {x: 0, y: 0},
    touch: null,
    link: '',
    sceneBases: new Map(),
    fit: true,
    fingers: new Map(),
    pinch: null,
    panning: null,
    lastTap: null,
    fullscreen: false,
    noticeTimer: 0,
    shelf: null,
    shelfId: '',
    shelving: Promise.resolve(null),
    shelfLimit: undefined,
  };
}
