// host.js and the progress page in headless Chromium, against a stand-in
// window.external that records what the page sends.
// Usage: node pages_test.cjs <resources/pages folder>
const { chromium } = require('playwright-core');
const path = require('path');

let failures = 0;
function check(name, actual, expected) {
    const [a, e] = [JSON.stringify(actual), JSON.stringify(expected)];
    if (a !== e) failures++;
    console.log(a === e ? `ok ${name}` : `FAIL ${name}: got ${a}, want ${e}`);
}

// The progress page, its window.external offering the members named.
async function open(browser, offered) {
    const page = await browser.newPage();
    const sent = [], alerts = [];
    await page.exposeFunction('__hostCall', (...a) => sent.push(a));
    page.on('dialog', (d) => { alerts.push(d.message()); return d.dismiss(); });
    await page.addInitScript((names) => {
        const ext = {};
        for (const n of names) ext[n] = (...a) => (window.__hostCall(n, ...a), n === 'getLocale' ? 'ja' : undefined);
        Object.defineProperty(window, 'external', { value: ext, configurable: true });
    }, offered);
    await page.goto('file://' + path.join(path.resolve(process.argv[2]), 'progress.html'));
    return { page, sent, alerts };
}

(async () => {
    const browser = await chromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
               '--disable-component-update', '--no-first-run', '--disable-sync'],
    });
    const all = ['log', 'notify', 'getLocale', 'setWindowProp', 'delay'];
    // [offered members, call, answer, calls reaching window.external, alerts]
    const rows = [
        [all, 'host.notify("changeFolder", 1)', null, [['notify', 'changeFolder', 1]], []],
        [all, 'host.getLocale()', 'ja', [['getLocale']], []],
        [all, 'host.log("INFO", "a", "b")', null, [['log', 'INFO', 'a', 'b']], []],
        [all, 'hostLogWriter("WARNING", "w"); host.delay(10)', null, [['log', 'WARNING', 'w'], ['delay', 10]], []],
        [[], 'host.notify("next", "x")', null, [], ['notify next x']],
        [[], 'host.getLocale()', 'en', [], []],
        [['notify'], 'host.setWindowProp("title", "t"); host.log("x")', null, [], []],
    ];
    for (const [offered, call, answer, calls, alerts] of rows) {
        const p = await open(browser, offered);
        p.sent.length = 0;
        const got = await p.page.evaluate(call);
        check(`${call} with [${offered}]`, [got ?? null, p.sent, p.alerts], [answer, calls, alerts]);
        await p.page.close();
    }
    const p = await open(browser, all);
    check('the page disables the close button while loading', p.sent, [['setWindowProp', 'closeButton', 0]]);
    const bars = [];
    for (const value of [0, 42.8571, 150, -3]) {
        bars.push(await p.page.evaluate(`setProgress(${value}); [fg.style.width, fg.style.display]`));
    }
    check('setProgress clamps and hides the bar at 0', bars,
          [['0%', 'none'], ['42.8571%', 'block'], ['100%', 'block'], ['0%', 'none']]);
    await p.page.evaluate(`setSwitchInterval(50); addBanner('one.png'); addBanner('two.png')`);
    await p.page.waitForFunction(() => banner.src.endsWith('two.png'), null, { timeout: 10000 });
    await browser.close();
    console.log(failures ? `${failures} failed` : 'all passed');
    process.exit(failures ? 1 : 0);
})().catch((e) => { console.error(e); process.exit(1); });
