// Shared by the page suite and the gallery: a loopback server for the carried files,
// the dialogs' contract, and a Chromium page with a stand-in window.external.
const [fs, http, path] = ['fs', 'http', 'path'].map(require);
const { chromium } = require('playwright-core');

const repo = path.resolve(__dirname, '../..');
const PAGES = ['welcome', 'change_folder', 'progress', 'error', 'plugin_disabled', 'restore_security', 'complete',
    'calyxscrub', 'calyxscrub_versions', 'calyxscrub_progress', 'calyxscrub_complete', 'calyxscrub_drs'];

// Resource name (lower case) -> file, from resources/pages.rc and what it includes.
function carriedFiles(rc = path.join(repo, 'resources/pages.rc'), files = new Map()) {
    for (const line of fs.readFileSync(rc, 'utf8').split('\n')) {
        const include = /^#include\s+"([^"]+)"/.exec(line);
        const entry = /^(\S+)\s+HTML\s+"([^"]+)"/.exec(line);
        if (include) carriedFiles(path.join(path.dirname(rc), include[1]), files);
        if (entry) files.set(entry[1].toLowerCase(), path.join(path.dirname(rc), entry[2]));
    }
    return files;
}

// The locales a page has texts for, spelt as getLocale gives them ("pt_BR").
function localesOf(files, page) {
    const prefix = page + '_';
    return [...files.keys()]
        .map((n) => n.startsWith(prefix) && n.endsWith('.wxl') ? n.slice(prefix.length, -4) : '')
        .filter((l) => /^[a-z]{2}(_[a-z]{2})?$/.test(l)) // calyxscrub_drs_de is no locale of calyxscrub
        .map((l) => l.replace(/_(..)$/, (m, c) => '_' + c.toUpperCase()))
        .sort((a, b) => (a === 'en' ? -1 : b === 'en' ? 1 : a.localeCompare(b)));
}

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png', '.gif': 'image/gif', '.wxl': 'text/xml' };

function serve(files) {
    const server = http.createServer((req, res) => {
        const name = decodeURIComponent(req.url.split('?')[0]).slice(1).toLowerCase();
        if (!files.has(name)) return res.writeHead(404).end();
        res.writeHead(200, { 'Content-Type': TYPES[path.extname(name)] + '; charset=utf-8' }).end(fs.readFileSync(files.get(name)));
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
        resolve({ base: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() })));
}

// page -> { calls: [script], events: [{ id, event, arg, again }], links: [{ id, target }] }
function readContract(file = path.join(__dirname, 'contract.txt')) {
    let pages = {}, current;
    for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
        const [kind, id, event, arg, again] = line.split(' ');
        if (kind === 'page') pages[id] = current = { calls: [], events: [], links: [] };
        if (kind === 'call') current.calls.push(line.slice(5));
        if (kind === 'event') current.events.push({ id, event, arg, again });
        if (kind === 'link') current.links.push({ id, target: event });
    }
    return pages;
}

const launch = () => chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
    '--disable-background-networking', '--disable-component-update', '--no-first-run', '--disable-sync'] });

// A page whose window.external offers the members named (all five unless
// told) and answers getLocale with locale. Calls land in window.__calls;
// initScript is [function, argument] run before the page's own scripts.
async function openPage(browser, url, locale, { offered, initScript, clock } = {}) {
    const context = await browser.newContext({ viewport: { width: 500, height: 354 } });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    if (clock) await page.clock.install({ time: 0 });
    await page.addInitScript(([locale, names]) => {
        window.__calls = [];
        const ext = Object.fromEntries(names.map((n) => [n, (...a) => (window.__calls.push([n, ...a]), n === 'getLocale' ? locale : undefined)]));
        Object.defineProperty(window, 'external', { value: ext, configurable: true });
    }, [locale, offered || ['log', 'notify', 'getLocale', 'setWindowProp', 'delay']]);
    if (initScript) await page.addInitScript(...initScript);
    await page.goto(url);
    if (clock) await page.clock.pauseAt(3600000); // from here only the test moves the page's time
    const calls = async (method) => (await page.evaluate(() => window.__calls.splice(0))).filter((c) => !method || c[0] === method);
    return { page, errors, calls, close: () => context.close() };
}

// The user's text size at 110%: the pages size their text relative to it.
const LARGER_TEXT = 'html { font-size: 110% !important; }';

// Run in the page: what does not fit its 500 x 354 window, as readable names.
function fitProblems() {
    const doc = document.documentElement, bad = [];
    if (doc.scrollWidth > doc.clientWidth || doc.scrollHeight > doc.clientHeight) bad.push('scroll bar');
    const box = (id) => document.getElementById(id).getBoundingClientRect(), footer = box('footer'), buttons = box('footer_right');
    for (const e of document.querySelectorAll('#root *')) {
        const r = e.getBoundingClientRect(), name = e.id || e.tagName + ' in ' + e.parentElement.id;
        if (!r.width || !r.height || getComputedStyle(e).visibility === 'hidden') continue;
        if (r.left < 0 || r.top < 0 || r.right > innerWidth + 0.5 || r.bottom > innerHeight + 0.5) bad.push(name + ' outside the window');
        else if (!e.closest('#footer') && r.bottom > footer.top + 0.5) bad.push(name + ' under the footer');
        else if (e.closest('#footer_left') && buttons.width && r.right > buttons.left) bad.push(name + ' under the buttons');
        else if (e.scrollWidth > e.clientWidth + 1 && getComputedStyle(e).overflow !== 'visible') bad.push(name + ' clipped');
    }
    return bad;
}

// Extra states that show more of a page than the contract's calls; the
// gallery takes the fullest of them, the suite checks the fit of each.
const STATES = { error: ['setUpdate(0)'], calyxscrub_progress: ['showProgressView(1); setStatus("Calyx 8 Update 401 (64-bit)", "1", "2")', 'showProgressView(0)'],
    complete: ['SP1', 'SP4', 'SP8', 'SP10', 'SP11', 'SP12', 'Generic'].map((code) => `selectSponsor("${code}")`) };

module.exports = { repo, PAGES, carriedFiles, localesOf, serve, readContract, launch, openPage, LARGER_TEXT,
                   fitProblems, STATES };
