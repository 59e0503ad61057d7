// The page's state, all of it in one object that the modules are handed: nothing else of the
// page's changes after it has started.

/**
 * @typedef {object} PageState
 * @property {import('./core-client.js').CoreClient} client the core, behind its client
 * @property {{minZoom: number, maxZoom: number, maxChosenZoom: number}} limits the zoom's steps
 * @property {number} zoom the picture's zoom factor
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
  };
}
