// The carried pages in the system's Chromium, served as the resource script
// carries them, against a stand-in window.external. Run: node --test.
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const [fs, acorn, h] = ['fs', 'acorn', './harness.cjs'].map(require);

const files = h.carriedFiles(), contract = h.readContract(), NO_CLOSE_BUTTON = ['progress', 'plugin_disabled', 'restore_security',
    'calyxscrub_progress'];
let server, browser;

before(async () => { server = await h.serve(files); browser = await h.launch(); });
after(async () => { await browser.close(); server.close(); });

const open = (page, locale, options) => h.openPage(browser, server.base + page + '.html', locale, options);
const shown = (...ids) => `[${ids.map((i) => `'${i}'`)}].filter((i) => getComputedStyle(document.getElementById(i)).display !== 'none')`;
const byId = (id) => `[id="${id}"]`, REMOVAL_PARTS = ['progressImg', 'uninstallStatus', 'completeStatus', 'viewListLink'];
const SPONSOR_PARTS = ['headerCalyx', 'headerGoogle', 'headerYahoo', 'headerBing', 'sponsorCarbo', 'sponsorMcAfee', 'sponsorAsk', 'sponsorGeneric'];

// What the contract's calls did, read in the page: [expression, expected]; the
// progress page also runs its banner clock, the complete page more sponsor codes.
const EFFECTS = {
    welcome: ['[getComputedStyle(changeFolderCtnr).visibility, changeFolderCtrl.checked]', ['visible', false]],
    change_folder: ['[installToFolder.innerText, installToFolder.children.length, getComputedStyle(backBtn).visibility]',
                    ["C:\\It's &lt;\nCalyx", 1, 'visible']],
    progress: [async (p) => {
        const bar = '[fg.style.width, fg.style.display]', src = () => p.evaluate('banner.getAttribute("src")');
        const seen = [await p.evaluate(bar), await src()];
        for (const _ of [1, 2]) seen.push(await p.clock.runFor(2000).then(src));
        return [...seen, await p.evaluate(`[150, -3, 0.5].map((v) => (setProgress(v), ${bar}))`)];
    }, [['42.8571%', 'block'], 'one.png', "two's.png", 'one.png', [['100%', 'block'], ['0%', 'none'], ['0.5%', 'block']]]],
    error: [`[${shown('headerInstall', 'headerUpdate', 'errorCode')}, /1603/.test(document.getElementById('errorCode').innerText)]`,
            [['headerUpdate', 'errorCode'], true]],
    plugin_disabled: ['null', null],
    restore_security: ['[getComputedStyle(backBtn).visibility, restoreCheckboxCtrl.checked]', ['visible', true]],
    complete: [`[${shown(...SPONSOR_PARTS, 'securityCtnr', 'noteVerify', 'restartBrowserCtnr')}, restartBrowserCtrl.checked,
        ...['SP1', 'SP9', 'SP13', "x'y"].map((code) => (selectSponsor(code), ${shown(...SPONSOR_PARTS)})),
        __calls.filter((c) => c[0] === 'log').map((c) => c.slice(1))]`,
        [['headerCalyx', 'securityCtnr', 'noteVerify', 'restartBrowserCtnr'], false, ['headerGoogle'], ['headerBing'],
         ['headerCalyx', 'sponsorAsk'], ['headerCalyx', 'sponsorGeneric'], [['INFO', "handle sponsor 'x'y' as generic"]]]],
    calyxscrub: ['null', null],
    calyxscrub_versions: ['[...cxrVersionList.children].map((d) => [d.id, d.className, d.firstChild.checked, d.innerText])',
        [['checkbox0', 'content bold', true, 'Calyx(TM) 6 Update 45'], ['checkbox1', 'content odd bold', true, 'Calyx 8 Update 401 (64-bit)']]],
    calyxscrub_progress: [`[${shown(...REMOVAL_PARTS)}, getComputedStyle(nextBtn).visibility,
        (showProgressView(1), setStatus('Calyx <6>', '1', '2'), ${shown(...REMOVAL_PARTS)}), getComputedStyle(nextBtn).visibility,
        ((t) => t.includes('Calyx <6>') && t.indexOf('1') < t.lastIndexOf('2') && !t.includes('%'))(uninstallStatus.innerText),
        (showProgressView(0), ${shown(...REMOVAL_PARTS)})]`,
        [['completeStatus', 'viewListLink'], 'visible', ['progressImg', 'uninstallStatus'], 'hidden', true, ['completeStatus', 'viewListLink']]],
    calyxscrub_complete: ['[...document.querySelectorAll(".segment-item")].map((e) => [e.parentNode.id, e.innerText])',
        [['uninstalledList', 'Calyx(TM) 6 Update 45'], ['remainingList', 'Calyx 8 Update 401 (64-bit)']]],
    calyxscrub_drs: ['[...document.querySelectorAll(".segment-item")].map((e) => [e.parentNode.id, e.innerText])',
        [['versionList', 'Calyx(TM) 6 Update 45']]],
};

// In the page: each focusable control's access key and underlined letter.
const ACCESS_KEYS = `[...document.querySelectorAll('button, input[type=checkbox]:not(#cxrVersionList input)')].map((c) => c.labels[0] || c)
    .map((o) => [o.id, o.accessKey.toLowerCase(), o.querySelector('u')?.innerText.toLowerCase()])`;

// Tab once through the page (from the primary button, at its end): each stop's name and box.
async function tabStops(page, stops = []) {
    for (let i = 0; i < 20; i++) {
        await page.keyboard.press('Tab');
        const stop = await page.evaluate(`(({ activeElement: e, body }) => e === body ? null
            : { name: e.id || e.parentElement.id, ...JSON.parse(JSON.stringify(e.getBoundingClientRect())) })(document)`);
        if (stop ? stops.some((s) => s.name === stop.name) : stops.length) break;
        if (stop) stops.push(stop);
    }
    return stops;
}

// Reading order: a later stop is lower down, or on the same row further right.
const outOfOrder = (stops) => stops.slice(1).filter((b, i) => (b.top < stops[i].bottom && stops[i].top < b.bottom
    ? b.left < stops[i].left : b.top < stops[i].bottom - 1)).map((s) => s.name);

async function checkPage(name, locale) {
    const c = contract[name] || { calls: [], events: [], links: [] };
    const p = await open(name, locale, { clock: true });
    p.page.setDefaultTimeout(5000);
    try {
        const primary = (c.events.find((e) => e.event === 'next') || { id: '' }).id;
        assert.equal(await p.page.evaluate('document.activeElement.id'), primary, 'primary button focused at load');
        for (const call of c.calls) await p.page.evaluate(call);
        const sent = await p.calls();
        const title = sent.filter((s) => s[0] === 'setWindowProp' && s[1] === 'title').map((s) => s[2]);
        assert.ok(title.length === 1 && title[0].length > 0 && title[0] === await p.page.title(), `title sent: ${title}`);
        assert.deepEqual(sent.filter((s) => s[0] === 'log' && /WARNING|ERROR/.test(s[1])), [], 'warnings or errors logged');
        assert.equal(sent.some((s) => s[0] === 'setWindowProp' && s[1] === 'closeButton' && s[2] === 0),
                     NO_CLOSE_BUTTON.includes(name), 'close button disabled');
        const [effect, expected] = EFFECTS[name];
        assert.deepEqual(await (effect.call ? effect(p.page) : p.page.evaluate(effect)), expected, 'effect of the calls');

        const keys = await p.page.evaluate(ACCESS_KEYS);
        for (const [id, key, underlined] of keys) assert.ok(key && key === underlined, `access key of ${id}: ${key}/${underlined}`);
        assert.equal(new Set(keys.map((k) => k[1])).size, keys.length, `access keys unique: ${keys.map((k) => k[1])}`);

        await p.page.addStyleTag({ content: h.LARGER_TEXT });
        for (const state of [''].concat(h.STATES[name] || [])) {
            assert.deepEqual(await p.page.evaluate(`${state}; (${h.fitProblems})()`), [], `fit at 110% ${state}`);
        }
        const stops = await tabStops(p.page);
        assert.deepEqual(outOfOrder(stops), [], `tab order ${stops.map((s) => s.name)}`);
        assert.deepEqual(stops.map((s) => s.name).sort(),
                         c.events.map((e) => e.id).concat(c.links.map((l) => l.id)).sort(), 'tab stops');

        await p.calls();
        for (const { id, event, arg, again } of c.events) {
            const box = arg !== undefined, actions = [[() => p.page.click(byId(id)), box ? [arg] : []],
                [() => p.page.focus(byId(id)).then(() => p.page.keyboard.press('Space')), box ? [again || String(1 - arg)] : []]];
            if (box) actions.push([() => p.page.click(`label[for="${id}"]`), [arg]]);
            for (const [act, args] of actions) {
                await act();
                assert.deepEqual((await p.calls('notify')).map((n) => n.slice(1).map(String)), [[event, ...args]], `${id} sends ${event}`);
            }
        }
        for (const { id, target } of c.links) {
            const url = p.page.url();
            await p.page.click(`${byId(id)} a`);
            assert.deepEqual(await p.calls('notify'), [['notify', 'a', target]], `link ${id}`);
            assert.equal(p.page.url(), url, `link ${id} navigated`);
        }
        assert.deepEqual(p.errors, [], 'script errors');
    } finally {
        await p.close();
    }
}

test('every page in every locale: texts, contract calls and events, keys, focus and fit', { concurrency: 3 }, async (t) => {
    const subtests = [];
    for (const name of h.PAGES) {
        const locales = h.localesOf(files, name);
        assert.ok(locales.includes('en'), `${name} has English texts`);
        for (const locale of locales) subtests.push(t.test(`${name} ${locale}`, () => checkPage(name, locale)));
    }
    await Promise.all(subtests);
});

test('host.js forwards to window.external, or falls back without it', async () => {
    const all = ['log', 'notify', 'getLocale', 'setWindowProp', 'delay'];
    // [offered members, call, answer, calls reaching window.external, alerts]
    const rows = [
        [all, 'host.notify("changeFolder", 1)', null, [['notify', 'changeFolder', 1]], []],
        [all, 'host.getLocale()', 'ja', [['getLocale']], []],
        [all, 'host.log("INFO", "a", "b")', null, [['log', 'INFO', 'a', 'b']], []],
        [all, 'require("log").warning("w"); host.delay(10)', null, [['log', 'WARNING', 'w'], ['delay', 10]], []],
        [[], 'host.notify("next", "x")', null, [], ['notify next x']],
        [[], 'host.getLocale()', 'en', [], []],
        [['notify'], 'host.setWindowProp("title", "t"); host.log("x")', null, [], []],
    ];
    for (const [offered, call, answer, calls, alerts] of rows) {
        const p = await open('progress', 'ja', { offered });
        const seen = [], got = await p.calls().then(() => p.page.on('dialog', (d) => seen.push(d.message()) && d.dismiss()).evaluate(call));
        assert.deepEqual([got ?? null, await p.calls(), seen], [answer, calls, alerts], `${call} with [${offered}]`);
        await p.close();
    }
});

test('access keys and links in texts', async () => {
    const p = await open('welcome', 'en');
    const rows = [['&Install', '<u>I</u>nstall', 'I'], ['Save && &Quit', 'Save &amp; <u>Q</u>uit', 'Q'],
        ['&amp; &lt;b&gt; &#38; &Yes', '&amp; &lt;b&gt; &#38; <u>Y</u>es', 'Y'], ['<a href="x&y">&Go</a>', '<a href="x&y"><u>G</u>o</a>', 'G'],
        ['閉じる(&C)', '閉じる(<u>C</u>)', 'C'], ['last&', 'last&amp;', null]];
    for (const [text, html, key] of rows) assert.deepEqual(await p.page.evaluate((t) => markAccessKey(t), text), { html, key }, text);
    const links = [['[one]', 'https://e.example/', '<a href="https://e.example/">one</a>'], ['[x]', undefined, '[x]'],
        ['[#b|two] [one]', { b: 'B', _: 'U' }, '<a href="B">two</a> <a href="U">one</a>'], ['[#c|none] [x]', { b: 'B' }, '[#c|none] [x]']];
    for (const [html, entry, out] of links) assert.equal(await p.page.evaluate(([h, e]) => resolveLinks(h, e), [html, entry]), out, html);
    await p.close();
});

// The installer's control reads .wxl files through an ActiveX document, waiting on
// host.delay; this stand-in becomes ready after a number of waits, or cannot be made at all.
function activeXStandIn(readyAfter) {
    window.ActiveXObject = function () {
        if (readyAfter === 'blocked') throw new Error('ActiveX blocked');
        const doc = Object.assign(this, { readyState: 1, parseError: { errorCode: 0 }, load: (url) => { doc.url = url; } });
        let waits = 0;
        const record = window.external.delay;
        window.external.delay = (ms) => {
            if (++waits === 1) record(ms);
            for (const end = Date.now() + ms; Date.now() < end;);
            if (waits !== readyAfter) return;
            const xhr = new XMLHttpRequest();
            xhr.open('GET', doc.url, false), xhr.send();
            const nodes = [...new DOMParser().parseFromString(xhr.responseText, 'text/xml').getElementsByTagName('String')];
            doc.getElementsByTagName = () => ({ length: nodes.length, item: (i) => ({ text: nodes[i].textContent,
                                                                                  getAttribute: (a) => nodes[i].getAttribute(a) }) });
            doc.readyState = 4;
        };
    };
}

// A text file that lacks one id, as a translation that fell behind would.
function dropInstallText() {
    const parse = DOMParser.prototype.parseFromString;
    DOMParser.prototype.parseFromString = function (text, type) {
        return parse.call(this, text.includes('Installieren')
            ? text.replace(/<String Id="installBtn">[^<]*<\/String>/, '') : text, type);
    };
}

// The window title cannot be set: one text fails to apply.
function refuseTitle() {
    const set = window.external.setWindowProp;
    window.external.setWindowProp = (name, value) => { if (name === 'title') throw new Error('no title'); set(name, value); };
}

test('a missing, broken, slow or partial text file still labels every control, which still sends its event', async () => {
    // [locale, init script and argument, fatal records, header and install button texts]
    const rows = [['en', [activeXStandIn, 3], [], 'Welcome to Calyx', 'Install'],
                  ['xx', null, ['welcome_xx.wxl: xml loading/parsing error - HTTP status 404'], 'Welcome to Calyx', 'Install'],
                  ['en', [activeXStandIn, -1], ['welcome_en.wxl: xml loading/parsing error - not loaded within 3 s'],
                   'Welcome to Calyx', 'Install'],
                  ['en', [activeXStandIn, 'blocked'], ['welcome_en.wxl: xml loading/parsing error - ActiveX blocked'],
                   'Welcome to Calyx', 'Install'],
                  ['de', [dropInstallText], [], 'Willkommen bei Calyx', 'Install'],
                  ['en', [refuseTitle], ['text title: no title'], 'Welcome to Calyx', 'Install']];
    for (const [locale, initScript, fatal, header, install] of rows) {
        const p = await open('welcome', locale, { initScript: initScript || undefined });
        const sent = await p.calls();
        const errors = sent.filter((s) => s[0] === 'log' && s[1] === 'ERROR').map((s) => s[2].replace(server.base, ''));
        assert.deepEqual(errors, fatal, `${locale} ${initScript}`);
        assert.equal(sent.some((s) => s[0] === 'delay'), typeof initScript?.[1] === 'number', 'waited through host.delay');
        assert.deepEqual(await p.page.evaluate('[header.innerText, installBtn.innerText, root.style.visibility, document.activeElement.id]'),
                         [header, install, 'visible', 'installBtn'], `${locale} ${initScript}`);
        await p.page.click('#installBtn');
        assert.deepEqual(await p.calls('notify'), [['notify', 'next']], `${locale}: the install button sends its event`);
        await p.close();
    }
});

test('page scripts are ECMAScript 3 and use only what IE7 mode offers', () => {
    const modern = /\.forEach\(|addEventListener|querySelector|getElementsByClassName|JSON\.|\.trim\(|Object\.keys|classList|Date\.now/;
    let scripts = 0;
    for (const [name, file] of files) {
        const text = fs.readFileSync(file, 'utf8'), sources = name.endsWith('.js') ? [text]
            : name.endsWith('.html') ? [...text.matchAll(/<script[^>]*>([\s\S]*?)<\/script>/g)].map((m) => m[1]) : [];
        for (const source of sources) {
            assert.doesNotThrow(() => acorn.parse(source, { ecmaVersion: 3 }), name);
            assert.doesNotMatch(source.replace(/^\s*\/\/.*$/gm, ''), modern, name);
            scripts++;
        }
    }
    assert.ok(scripts >= 12, `${scripts} scripts checked`);
});
