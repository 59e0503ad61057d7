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
 * @property {{id: number, longPress: number}} pointer the pointer that holds the capture (-1 for
 *   none) and the long press's timeout
 * @property {boolean} shiftAtPick Shift was held for the click that opened the file picker
 * @property {HTMLAudioElement|null} sound the sound playing
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
    pointer: {id: -1, longPress: 0},
    shiftAtPick: false,
    sound: null,
  };
}
