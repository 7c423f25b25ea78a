// host.js and the progress page in headless Chromium, against a stand-in
// window.external that records what the page sends.
// Usage: node pages_test.cjs <resources/pages folder>
const { chromium } = require('playwright-core');
const path = require('path');

const pages = path.resolve(process.argv[2]);
let failures = 0;

function check(name, actual, expected) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    if (a !== e) failures++;
    console.log(`${a === e ? 'ok' : 'FAIL'} ${name}${a === e ? '' : `: got ${a}, want ${e}`}`);
}

// A page with host.js; `offered` lists the members window.external has.
async function open(browser, file, offered) {
    const page = await browser.newPage();
    const sent = [];
    const alerts = [];
    await page.exposeFunction('__hostCall', (...a) => sent.push(a));
    page.on('dialog', async (d) => { alerts.push(d.message()); await d.dismiss(); });
    await page.addInitScript((names) => {
        const ext = {};
        for (const n of names) {
            ext[n] = (...a) => { window.__hostCall(n, ...a); return n === 'getLocale' ? 'ja' : undefined; };
        }
        Object.defineProperty(window, 'external', { value: ext, configurable: true });
    }, offered);
    await page.goto('file://' + path.join(pages, file));
    return { page, sent, alerts };
}

(async () => {
    const browser = await chromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
               '--disable-component-update', '--no-first-run', '--disable-sync'],
    });
    try {
        const all = ['log', 'notify', 'getLocale', 'setWindowProp', 'delay'];
        // [offered members, call, expected answer, expected external calls, expected alerts]
        const rows = [
            [all, 'host.notify("changeFolder", 1)', null, [['notify', 'changeFolder', 1]], []],
            [all, 'host.getLocale()', 'ja', [['getLocale']], []],
            [all, 'host.log("INFO", "a", "b")', null, [['log', 'INFO', 'a', 'b']], []],
            [all, 'host.delay(10)', null, [['delay', 10]], []],
            [all, 'hostLogWriter("WARNING", "w")', null, [['log', 'WARNING', 'w']], []],
            [[], 'host.notify("next", "x")', null, [], ['notify next x']],
            [[], 'host.getLocale()', 'en', [], []],
            [['notify'], 'host.setWindowProp("title", "t"); host.log("x")', null, [], []],
        ];
        for (const [offered, call, answer, calls, alerts] of rows) {
            const p = await open(browser, 'progress.html', offered);
            p.sent.length = 0;
            const got = await p.page.evaluate(call);
            check(`${call} with [${offered}]`, [got === undefined ? null : got, p.sent, p.alerts],
                  [answer, calls, alerts]);
            await p.page.close();
        }

        const p = await open(browser, 'progress.html', all);
        check('progress page disables the close button while loading', p.sent,
              [['setWindowProp', 'closeButton', 0]]);
        const bar = () => p.page.evaluate(() => {
            const fg = document.getElementById('fg');
            return [fg.style.width, fg.style.display];
        });
        const bars = [];
        for (const value of [0, 42.8571, 150, -3]) {
            await p.page.evaluate(`setProgress(${value})`);
            bars.push(await bar());
        }
        check('setProgress clamps and hides the bar at 0', bars,
              [['0%', 'none'], ['42.8571%', 'block'], ['100%', 'block'], ['0%', 'none']]);
        await p.page.evaluate(`setSwitchInterval(50); addBanner('one.png'); addBanner('two.png')`);
        await p.page.waitForFunction(() => document.getElementById('banner').src.endsWith('two.png'),
                                     null, { timeout: 10000 });
        check('two banners rotate', true, true);
        await p.page.close();
    } finally {
        await browser.close();
    }
    console.log(failures ? `${failures} failed` : 'all passed');
    process.exit(failures ? 1 : 0);
})().catch((e) => { console.error(e); process.exit(1); });
